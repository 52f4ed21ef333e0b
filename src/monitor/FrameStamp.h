#pragma once

#include <QImage>
#include <QString>

// Writes the text in white 12-point letters into the picture's top-left
// corner, on a transparent background: the date and time every frame carries.
void drawTimeStamp(QImage &picture, const QString &text);
