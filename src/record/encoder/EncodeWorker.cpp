#include "record/encoder/EncodeWorker.h"

#include "common/AppError.h"
#include "record/encoder/FramePacer.h"
#include "record/encoder/FrameScaler.h"
#include "record/encoder/VideoWriter.h"

#include <cmath>

namespace {

constexpr std::chrono::milliseconds progressInterval{500};
// How often buffered bytes go to the file, so a killed program loses little.
constexpr std::chrono::milliseconds flushInterval{1000};

// The number of frames "-frames:v" or "-t" allow, or -1 for no limit.
qint64 frameLimitOf(const OutputOptions &output)
{
    qint64 limit = output.frameLimit.value_or(-1);
    if (output.durationLimitSec) {
        const double frames = *output.durationLimitSec * output.frameRate.num / output.frameRate.den;
        const auto framesInTime = static_cast<qint64>(std::ceil(frames - 1e-9));
        limit = limit < 0 ? framesInTime : std::min(limit, framesInTime);
    }
    return limit;
}

// Failures of a task after its file was opened.
struct WriteFailure
{
    QString reason;
};

QString reasonOf(const std::exception &error)
{
    if (const auto *appError = dynamic_cast<const AppError *>(&error))
        return appError->text();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

EncodeWorker::EncodeWorker(std::vector<EncodeTask> tasks, OutputSinkFactory sinkFactory,
                           NoticeCallback notify)
    : tasks_(std::move(tasks)), sinkFactory_(std::move(sinkFactory)), notify_(std::move(notify))
{
}

EncodeWorker::~EncodeWorker()
{
    requestStop();
    join();
}

void EncodeWorker::start()
{
    thread_ = std::thread([this] { run(); });
}

void EncodeWorker::requestStop()
{
    {
        std::lock_guard lock(mutex_);
        if (!stopRequested_)
            stopRequestedAt_ = SteadyClock::now();
        stopRequested_ = true;
    }
    wakeUp_.notify_all();
}

void EncodeWorker::join()
{
    if (thread_.joinable())
        thread_.join();
}

void EncodeWorker::setPaused(bool paused)
{
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
    }
    wakeUp_.notify_all();
}

void EncodeWorker::run()
{
    // The first task always runs, so a stop right after the start still
    // leaves the file that the caller expects; later ones are skipped.
    for (size_t index = 0; index < tasks_.size(); ++index) {
        if (index > 0) {
            std::lock_guard lock(mutex_);
            if (stopRequested_)
                break;
        }
        runTask(tasks_[index]);
    }
    finished_ = true;
    notify_(TerminateInfo{-1, false, QString()});
}

void EncodeWorker::runTask(const EncodeTask &task)
{
    TerminateInfo ending{task.taskIndex, false, QString()};
    try {
        const std::unique_ptr<VideoWriter> writer = openOutput(task);
        writeFrames(task, *writer);
    } catch (const WriteFailure &failure) {
        ending.exceptionRaised = true;
        ending.exceptionMessage =
            QStringLiteral("录像文件 %1 写入中断: %2").arg(task.outputPath, failure.reason);
    } catch (const std::exception &error) {
        ending.exceptionRaised = true;
        ending.exceptionMessage =
            QStringLiteral("录像文件 %1 无法开始录像: %2").arg(task.outputPath, reasonOf(error));
    } catch (...) {
        ending.exceptionRaised = true;
        ending.exceptionMessage = QStringLiteral("录像文件 %1 无法开始录像").arg(task.outputPath);
    }
    notify_(ending);
}

std::unique_ptr<VideoWriter> EncodeWorker::openOutput(const EncodeTask &task)
{
    QString sinkError;
    std::unique_ptr<OutputSink> sink = sinkFactory_(task.outputPath, &sinkError);
    if (!sink)
        throw AppError(sinkError);
    return std::make_unique<VideoWriter>(task.outputPath, task.output, std::move(sink));
}

void EncodeWorker::writeFrames(const EncodeTask &task, VideoWriter &writer)
{
    const bool realTime = task.input.realTime;
    const AVRational frameRate = task.output.frameRate;
    const FramePacer pacer(frameRate);
    const qint64 frameLimit = frameLimitOf(task.output);
    FrameScaler scaler;

    qint64 framesWritten = 0;
    SteadyClock::time_point start = SteadyClock::now();
    SteadyClock::time_point nextProgress = start + progressInterval;
    SteadyClock::time_point nextFlush = start + flushInterval;
    const auto progressNow = [&] {
        const double elapsedSec = std::chrono::duration<double>(SteadyClock::now() - start).count();
        ProgressInfo info;
        info.frameNumber = static_cast<int>(framesWritten);
        info.fps = elapsedSec > 0 ? static_cast<int>(std::lround(framesWritten / elapsedSec)) : 0;
        info.currentSizeBytes = writer.sizeBytes();
        info.currentTimeMs = framesWritten * 1000 * frameRate.den / frameRate.num;
        return info;
    };

    // Writes the current frame again until `count` frames exist.
    const auto writeUpTo = [&](qint64 count) {
        if (frameLimit >= 0)
            count = std::min(count, frameLimit);
        for (; framesWritten < count; ++framesWritten)
            writer.writeFrame(framesWritten);
    };

    // Frames are pulled at the output's rate; with "-re" the input gives the
    // same rate, so no frame has to be dropped or doubled to convert.
    try {
        while (frameLimit < 0 || framesWritten < frameLimit) {
            // The first frame goes out at once, so even a recording stopped
            // right after its start holds a picture.
            const SteadyClock::time_point due = framesWritten == 0 || !realTime
                ? SteadyClock::time_point{}
                : start + pacer.dueTimeOf(framesWritten);
            const Wake wake = framesWritten == 0 ? Wake::Due : waitUntil(due);
            if (wake == Wake::Stopped) {
                // A slow frame source must not shorten the recording: the
                // latest picture fills the frames due until the stop.
                const std::optional<SteadyClock::time_point> stopAt = unpausedStopTime();
                if (realTime && stopAt)
                    writeUpTo(pacer.framesDueBy(*stopAt - start));
                break;
            }
            if (wake == Wake::Paused) {
                // The paused span is left out of the recording's time line.
                const SteadyClock::time_point pausedAt = SteadyClock::now();
                if (!waitWhilePaused())
                    break;
                start += SteadyClock::now() - pausedAt;
                continue;
            }

            // Behind the clock, the latest picture is written once per frame
            // missed, so the recording keeps the length of the time it ran.
            // Frames count up to the moment the picture was asked for, which
            // a stop coming in while the source answers does not extend.
            const qint64 framesDue = realTime ? pacer.framesDueBy(SteadyClock::now() - start)
                                              : framesWritten + 1;
            scaler.fill(writer.nextFrame(), task.source ? task.source->read() : QImage());
            writeUpTo(framesDue);

            const SteadyClock::time_point now = SteadyClock::now();
            if (now >= nextFlush) {
                writer.flushToSink();
                nextFlush = now + flushInterval;
            }
            if (now >= nextProgress) {
                notify_(progressNow());
                nextProgress = now + progressInterval;
            }
        }
        writer.finish();
    } catch (const std::exception &error) {
        throw WriteFailure{reasonOf(error)};
    } catch (...) {
        throw WriteFailure{QStringLiteral("unexpected failure")};
    }
    notify_(progressNow());
}

std::optional<EncodeWorker::SteadyClock::time_point> EncodeWorker::unpausedStopTime()
{
    std::lock_guard lock(mutex_);
    if (paused_)
        return std::nullopt;
    return stopRequestedAt_;
}

EncodeWorker::Wake EncodeWorker::waitUntil(SteadyClock::time_point due)
{
    std::unique_lock lock(mutex_);
    if (due > SteadyClock::now())
        wakeUp_.wait_until(lock, due, [this] { return stopRequested_ || paused_; });
    if (stopRequested_)
        return Wake::Stopped;
    return paused_ ? Wake::Paused : Wake::Due;
}

bool EncodeWorker::waitWhilePaused()
{
    std::unique_lock lock(mutex_);
    wakeUp_.wait(lock, [this] { return stopRequested_ || !paused_; });
    return !stopRequested_;
}
