#pragma once

#include "record/encoder/EncoderNotices.h"
#include "record/encoder/EncoderOptions.h"
#include "record/encoder/FrameInputAdapter.h"
#include "record/encoder/OutputSink.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class VideoWriter;

// One task as the worker runs it: plain values and the shared frame source.
struct EncodeTask
{
    int taskIndex = 0;
    InputOptions input;
    OutputOptions output;  // frame size and rate resolved
    QString outputPath;
    std::shared_ptr<FrameSource> source;
};

// The background thread of one encoder. It runs its tasks one after another,
// owns every FFmpeg object it uses and never waits for its owner: notices go
// out through a callback that must not block.
class EncodeWorker
{
public:
    using NoticeCallback = std::function<void(const EncoderNotice &)>;

    EncodeWorker(std::vector<EncodeTask> tasks, OutputSinkFactory sinkFactory,
                 NoticeCallback notify);
    // Stops and joins the thread if the owner did not.
    ~EncodeWorker();

    void start();
    // Ends the running task after its first frame at the latest; the file
    // is finished before the thread ends. Later tasks are skipped.
    void requestStop();
    void join();
    void setPaused(bool paused);
    bool hasFinished() const { return finished_; }

private:
    enum class Wake { Due, Paused, Stopped };
    using SteadyClock = std::chrono::steady_clock;

    void run();
    void runTask(const EncodeTask &task);
    std::unique_ptr<VideoWriter> openOutput(const EncodeTask &task);
    void writeFrames(const EncodeTask &task, VideoWriter &writer);
    Wake waitUntil(SteadyClock::time_point due);
    bool waitWhilePaused();
    // When the stop came, unless it came while paused.
    std::optional<SteadyClock::time_point> unpausedStopTime();

    std::vector<EncodeTask> tasks_;
    OutputSinkFactory sinkFactory_;
    NoticeCallback notify_;

    std::mutex mutex_;
    std::condition_variable wakeUp_;
    bool stopRequested_ = false;
    SteadyClock::time_point stopRequestedAt_;
    bool paused_ = false;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};
