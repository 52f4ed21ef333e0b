#include "record/encoder/RecordingEncoder.h"

#include "record/encoder/CodecLookup.h"

#include "common/AppError.h"
#include "record/encoder/EncodeWorker.h"
#include "record/encoder/EncoderOptions.h"
#include "record/encoder/FrameInputAdapter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <QFile>

#include <atomic>

struct RecordingEncoder::PendingTask
{
    InputOptions input;
    std::shared_ptr<FrameSource> source;
    bool hasOutput = false;
    OutputOptions output;
    QString outputPath;
};

namespace {

std::atomic<bool> librariesAreLoaded{false};

std::mutex &libraryProbeMutex()
{
    static std::mutex mutex;
    return mutex;
}

RecordingEncoder::LibraryProbe &libraryProbe()
{
    static RecordingEncoder::LibraryProbe probe;
    return probe;
}

// What the recording options need: "-target pal-dvd" encodes with
// mpeg2video into the dvd program stream.
QStringList missingLibraryParts()
{
    QStringList missing;
    if (!avcodec_find_encoder_by_name("mpeg2video"))
        missing << QStringLiteral("mpeg2video encoder");
    if (!av_guess_format("dvd", nullptr, nullptr))
        missing << QStringLiteral("dvd muxer");
    return missing;
}

// A frame rate or size the output does not give is the input's, as with the
// ffmpeg tool; failing that, the tool's default rate of 25.
bool resolveOutput(const InputOptions &input, const QString &path, OutputOptions *output,
                   QString *errorText)
{
    if (!output->frameSize.isValid())
        output->frameSize = input.frameSize;
    if (!output->frameSize.isValid() || output->frameSize.isEmpty()) {
        *errorText = QStringLiteral("The output %1 needs a frame size (-s)").arg(path);
        return false;
    }
    if (output->frameRate.num <= 0)
        output->frameRate = input.frameRate.num > 0 ? input.frameRate : AVRational{25, 1};

    const AVOutputFormat *format = output->container.isEmpty()
        ? av_guess_format(nullptr, QFile::encodeName(path).constData(), nullptr)
        : av_guess_format(output->container.toUtf8().constData(), nullptr, nullptr);
    if (!format) {
        *errorText = output->container.isEmpty()
            ? QStringLiteral("Cannot choose a container for %1").arg(path)
            : QStringLiteral("Unknown container \"%1\" for option -f").arg(output->container);
        return false;
    }
    const AVCodec *codec = findVideoEncoder(output->videoCodec, format);
    if (!codec) {
        *errorText = QStringLiteral("Unknown video encoder \"%1\" for option -c:v").arg(output->videoCodec);
        return false;
    }
    output->videoCodec = QString::fromUtf8(codec->name);
    return true;
}

} // namespace

RecordingEncoder::RecordingEncoder(QObject *parent)
    : QObject(parent), sinkFactory_(&FileSink::create)
{
}

RecordingEncoder::~RecordingEncoder()
{
    // Finishes the file; notices still pending are dropped with the encoder.
    worker_.reset();
}

bool RecordingEncoder::librariesLoaded()
{
    return librariesAreLoaded;
}

bool RecordingEncoder::loadLibraries(const QString &folder, QString *errorText)
{
    // The libraries come with the system, so the folder only names where
    // the program would have looked; the check is what they contain.
    Q_UNUSED(folder);
    QStringList missing;
    {
        std::lock_guard lock(libraryProbeMutex());
        missing = libraryProbe() ? libraryProbe()() : missingLibraryParts();
    }
    if (!missing.isEmpty()) {
        if (errorText)
            *errorText = QStringLiteral("The FFmpeg libraries lack: %1").arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    librariesAreLoaded = true;
    return true;
}

void RecordingEncoder::setLibraryProbe(LibraryProbe probe)
{
    std::lock_guard lock(libraryProbeMutex());
    libraryProbe() = std::move(probe);
}

void RecordingEncoder::unloadLibraries()
{
    librariesAreLoaded = false;
}

void RecordingEncoder::setLogLevel(int levelIndex)
{
    static const int levels[] = {AV_LOG_QUIET, AV_LOG_PANIC, AV_LOG_FATAL, AV_LOG_ERROR,
                                 AV_LOG_WARNING, AV_LOG_INFO, AV_LOG_VERBOSE, AV_LOG_DEBUG};
    if (levelIndex >= 0 && levelIndex < int(std::size(levels)))
        av_log_set_level(levels[levelIndex]);
}

int RecordingEncoder::taskCount() const
{
    return static_cast<int>(tasks_.size());
}

void RecordingEncoder::ClearTasks()
{
    if (isWorking())
        throw AppError(QStringLiteral("Cannot ClearTasks while working."));
    tasks_.clear();
}

int RecordingEncoder::AddTask(const QString &inputFileName, const QString &inputOptions)
{
    if (!librariesLoaded())
        throw AppError(QStringLiteral("FFmpeg libraries not loaded."));
    PendingTask task;
    QString errorText;
    if (!parseInputOptions(inputOptions, &task.input, &errorText))
        return fail(errorText);
    task.source = FrameInputAdapter::findSource(inputFileName);
    if (!task.source)
        return fail(QStringLiteral("No frame input adapter is named \"%1\"").arg(inputFileName));
    tasks_.push_back(std::move(task));
    return static_cast<int>(tasks_.size()) - 1;
}

int RecordingEncoder::SetOutput(int taskIndex, const QString &outputFileName, const QString &outputOptions)
{
    if (taskIndex < 0 || taskIndex >= taskCount())
        return fail(QStringLiteral("There is no task %1").arg(taskIndex));
    PendingTask &task = tasks_[static_cast<size_t>(taskIndex)];
    OutputOptions output;
    QString errorText;
    if (!parseOutputOptions(outputOptions, &output, &errorText)
        || !resolveOutput(task.input, outputFileName, &output, &errorText))
        return fail(errorText);
    task.output = output;
    task.outputPath = outputFileName;
    task.hasOutput = true;
    return 0;
}

void RecordingEncoder::RemoveTask(int taskIndex)
{
    if (taskIndex >= 0 && taskIndex < taskCount())
        tasks_.erase(tasks_.begin() + taskIndex);
}

void RecordingEncoder::Start()
{
    if (isWorking())
        throw AppError(QStringLiteral("Cannot Start while working."));
    if (worker_) {
        // The earlier run ended by itself: its end notices go out first.
        releaseFinishedWorker();
        deliverNotices();
    }
    if (tasks_.empty())
        throw AppError(QStringLiteral("No task to start."));
    std::vector<EncodeTask> runnable;
    for (size_t index = 0; index < tasks_.size(); ++index) {
        const PendingTask &task = tasks_[index];
        if (!task.hasOutput)
            throw AppError(QStringLiteral("Task %1 has no output.").arg(index));
        runnable.push_back(EncodeTask{static_cast<int>(index), task.input, task.output,
                                      task.outputPath, task.source});
    }
    tasks_.clear();
    worker_ = std::make_unique<EncodeWorker>(std::move(runnable), sinkFactory_,
                                             [this](const EncoderNotice &notice) { postNotice(notice); });
    worker_->start();
}

void RecordingEncoder::Stop()
{
    if (!worker_)
        return;
    worker_->requestStop();
    worker_->join();
    worker_.reset();
    deliverNotices();
}

void RecordingEncoder::Pause()
{
    if (worker_)
        worker_->setPaused(true);
}

void RecordingEncoder::Resume()
{
    if (worker_)
        worker_->setPaused(false);
}

bool RecordingEncoder::isWorking() const
{
    return worker_ && !worker_->hasFinished();
}

void RecordingEncoder::setOutputSinkFactory(OutputSinkFactory factory)
{
    sinkFactory_ = factory ? std::move(factory) : OutputSinkFactory(&FileSink::create);
}

int RecordingEncoder::fail(const QString &errorText)
{
    lastErrorText_ = errorText;
    return -1;
}

// Runs on the worker thread: queues the notice and asks the owner's thread
// to deliver it, without waiting for that.
void RecordingEncoder::postNotice(const EncoderNotice &notice)
{
    {
        std::lock_guard lock(noticesMutex_);
        notices_.push_back(notice);
    }
    QMetaObject::invokeMethod(this, [this] { deliverNotices(); }, Qt::QueuedConnection);
}

// Emits the queued notices in order; a handler may call back into the encoder.
void RecordingEncoder::deliverNotices()
{
    while (true) {
        EncoderNotice notice;
        {
            std::lock_guard lock(noticesMutex_);
            if (notices_.empty())
                return;
            notice = notices_.front();
            notices_.pop_front();
        }
        if (const auto *info = std::get_if<ProgressInfo>(&notice)) {
            emit progress(*info);
            continue;
        }
        const auto &ending = std::get<TerminateInfo>(notice);
        if (ending.taskIndex < 0)
            releaseFinishedWorker();
        emit terminated(ending);
    }
}

void RecordingEncoder::releaseFinishedWorker()
{
    if (worker_ && worker_->hasFinished()) {
        worker_->join();
        worker_.reset();
    }
}
