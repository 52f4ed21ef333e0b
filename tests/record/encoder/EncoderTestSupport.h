#pragma once

#include "record/encoder/RecordingEncoder.h"
#include "record/encoder/FrameInputAdapter.h"

#include <QString>
#include <QStringList>

// The option strings the recording channel passes, for a size and a video
// bit rate in kbit/s.
QString channelInputOptions(const QString &frameSize, bool realTime = true);
QString channelOutputOptions(const QString &bitRateKbps, const QString &frameSize);

// A picture source for an adapter whose picture changes with every call.
std::function<QImage()> movingPicture(QSize size);

// Adds one task from the adapter to the file and starts it; fails the test
// (returns false) when the encoder refuses the task.
bool startRecording(RecordingEncoder &encoder, const FrameInputAdapter &adapter, const QString &path,
                    const QString &inputOptions, const QString &outputOptions);

// What ffprobe sees in a file.
struct ProbedVideo
{
    QString formatName;
    double durationSec = 0;
    qint64 bitRateBps = 0;
    int videoStreams = 0;
    int audioStreams = 0;
    QString codecName;
    int width = 0;
    int height = 0;
    QString frameRate;       // r_frame_rate, "30/1"
    QString pixelFormat;
    QString pictureTypes;    // one letter per decoded frame: "IPPP..."
    QString errors;          // what ffprobe reported at level "error"

    int frameCount() const { return int(pictureTypes.size()); }
    // Frames from one I frame to the next, or 0 without two I frames.
    int gopLength() const;
};

ProbedVideo probeVideo(const QString &path);

// Runs a command-line tool to its end; its standard error on failure.
bool runTool(const QString &program, const QStringList &arguments, QString *errorOutput,
             int timeoutMs = 60000);
