#pragma once

#include <QString>

// Whether a path from a catalogue row names a recording file that may be
// deleted with its row. A row is data anyone may edit, so only an existing
// regular file (not a symbolic link) given by an absolute path, whose name
// ends with the recording scheme "YYYYMMDDHHMMSS_<camera 1-4>.mpg", qualifies.
// The name is matched at its end: with a save folder written without a
// trailing "/", names look like "rec20261211083005_1.mpg".
bool isRemovableRecordingFile(const QString &path);

// Deletes the file of a catalogue row being deleted: only a removable
// recording file, and never one a channel is writing (liveFiles holds their
// canonical paths; Linux would unlink an open file and lose the recording).
// A file that cannot be removed stays; the caller deletes the row in any case.
void deleteRecordingFileOfRow(const QString &path, const QStringList &liveFiles);
