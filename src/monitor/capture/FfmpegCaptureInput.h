#pragma once

#include "common/FfmpegHandles.h"
#include "monitor/capture/FrameConverter.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>

// What to open through libavdevice: a "video4linux2" node or a "lavfi" graph.
struct CaptureInputRequest
{
    QString inputFormatName;                      // "video4linux2", "lavfi"
    QString url;                                  // device node or filter graph
    QList<QPair<QString, QString>> options;       // demuxer options, e.g. video_size
    QSize frameSize;                              // size of the delivered pictures
    bool nonBlocking = false;                     // reads return "no frame yet" instead of waiting
    int openTimeoutMs = 5000;
    // Set (from any thread) when the device is pulled: reads fail from then on.
    // Only virtual cameras have one; a real device's reads fail by themselves.
    std::shared_ptr<const std::atomic<bool>> unplugged;
};

// An opened input with its decoder and converter. Opened on the caller's
// thread, then handed whole to one capture thread, its only user from then on.
class FfmpegCaptureInput
{
public:
    enum class ReadResult { Frame, NoFrameYet, Failed };

    // Throws AppError with the library's reason when the input cannot be opened.
    // stopRequested is read by the interrupt callback and must outlive the input.
    static std::unique_ptr<FfmpegCaptureInput> open(const CaptureInputRequest &request,
                                                     const std::atomic<bool> *stopRequested);

    // Reads until one picture is decoded, the source has nothing yet, or it fails.
    ReadResult readFrame(QImage *picture, QString *failure);

    ~FfmpegCaptureInput();

private:
    FfmpegCaptureInput(QSize frameSize, const std::atomic<bool> *stopRequested);
    static int interruptCallback(void *opaque);

    const std::atomic<bool> *stopRequested_;
    std::shared_ptr<const std::atomic<bool>> unplugged_;
    std::atomic<qint64> openDeadlineNs_{0};   // 0: no deadline
    InputFormatContextPtr format_;
    CodecContextPtr decoder_;
    FramePtr frame_;
    PacketPtr packet_;
    FrameConverter converter_;
    int videoStreamIndex_ = -1;
};
