#pragma once

// The input and output option strings of an encoding task, read with the
// meaning the ffmpeg command-line tool gives them: options apply in the order
// written, a later one overrides an earlier one, and an option that is not
// known here is an error that names it.

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <optional>

struct InputOptions
{
    QString format;                               // "-f": only "frameinput"
    QString inputType;                            // "-input_type": only "canvas"
    AVPixelFormat canvasPixelFormat = AV_PIX_FMT_NONE;  // "-pix_fmt"
    AVRational frameRate{0, 1};                   // "-r"; 0/1 when not given
    QSize frameSize;                              // "-s"; invalid when not given
    bool realTime = false;                        // "-re": frames due at the frame rate on the wall clock
};

struct OutputOptions
{
    QString videoCodec;                           // encoder name; empty: the container's default
    QString audioCodec;                           // kept for completeness: tasks have no audio input
    QString container;                            // muxer name; empty: guessed from the file name
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;  // NONE: the encoder's first format
    AVRational frameRate{0, 1};                   // 0/1: the input's rate
    QSize frameSize;                              // invalid: the input's size
    std::optional<qint64> videoBitRateBps;
    std::optional<qint64> gopSizeFrames;
    std::optional<qint64> maxRateBps;
    std::optional<qint64> minRateBps;
    std::optional<qint64> bufferSizeBits;
    std::optional<qint64> packetSizeBytes;
    std::optional<qint64> muxRateBps;
    std::optional<qint64> audioBitRateBps;
    std::optional<qint64> audioSampleRateHz;
    std::optional<double> durationLimitSec;       // "-t"
    std::optional<qint64> frameLimit;             // "-frames:v"
    int videoSyncMethod = -1;                     // "-vsync"; every method gives constant rate here
};

// Both return false and set errorText when the string cannot be used.
bool parseInputOptions(const QString &text, InputOptions *options, QString *errorText);
bool parseOutputOptions(const QString &text, OutputOptions *options, QString *errorText);
