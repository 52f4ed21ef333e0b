#pragma once

#include <QString>
#include <QtGlobal>

// Free bytes as the settings dialog shows them: in GiB (2^30 bytes, although
// the label reads "GB"), brought to four decimals with halves going to the
// even neighbour, written without trailing zeros ("12.5", "0.0312", "0").
// An unknown amount (negative) shows "0".
QString freeSpaceGiBText(qint64 freeBytes);
