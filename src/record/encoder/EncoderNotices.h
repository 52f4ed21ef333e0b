#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <variant>

// What the encoder tells its owner while a task runs: a progress notice
// every 500 ms and an end notice per task, then one for the whole run.
struct ProgressInfo
{
    int frameNumber = 0;        // frames written so far
    int fps = 0;                // frames written per second of wall time
    qint64 currentSizeBytes = 0;
    qint64 currentTimeMs = 0;   // recording time of the frames written
};

struct TerminateInfo
{
    int taskIndex = -1;         // negative: every task of the run has ended
    bool exceptionRaised = false;
    QString exceptionMessage;
};

using EncoderNotice = std::variant<ProgressInfo, TerminateInfo>;

Q_DECLARE_METATYPE(ProgressInfo)
Q_DECLARE_METATYPE(TerminateInfo)
