#pragma once

#include "record/encoder/EncoderNotices.h"
#include "record/encoder/OutputSink.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class EncodeWorker;
struct EncodeTask;

// Encodes tasks (one input, one output, each described by ffmpeg option
// strings) in the background, one task at a time on a worker thread of its
// own. Notices arrive on the thread that owns the encoder.
class RecordingEncoder : public QObject
{
    Q_OBJECT

public:
    explicit RecordingEncoder(QObject *parent = nullptr);
    // Stops a running task and waits for its file to be finished.
    ~RecordingEncoder() override;

    // The libraries are linked in; "loading" checks that the encoder and
    // muxer the recording options need are present. One load serves every
    // encoder of the process.
    static bool librariesLoaded();
    static bool loadLibraries(const QString &folder, QString *errorText);
    // Test seams: a probe that lists what is missing (null restores the
    // real one), and forgetting an earlier load.
    using LibraryProbe = std::function<QStringList()>;
    static void setLibraryProbe(LibraryProbe probe);
    static void unloadLibraries();
    // FFmpeg's log level by list position: 0 quiet ... 5 info ... 7 debug.
    static void setLogLevel(int levelIndex);

    void ClearTasks();
    // A task reading from the adapter whose identity is inputFileName; the
    // task index, or negative with lastErrorText() set.
    int AddTask(const QString &inputFileName, const QString &inputOptions);
    // The task's one output; 0, or negative with lastErrorText() set.
    int SetOutput(int taskIndex, const QString &outputFileName, const QString &outputOptions);
    void RemoveTask(int taskIndex);
    int taskCount() const;

    // Kept for the recording channel; nothing is ever previewed.
    void setPreview(bool previewOn) { preview_ = previewOn; }
    bool preview() const { return preview_; }

    // Runs the tasks added since the last start; they leave the task list.
    void Start();
    // Ends the running task and returns once its file is finished; the end
    // notices are delivered before it returns.
    void Stop();
    void Pause();
    void Resume();
    bool isWorking() const;
    QString lastErrorText() const { return lastErrorText_; }

    // Where output files are written; a test hands in a failing one.
    void setOutputSinkFactory(OutputSinkFactory factory);

signals:
    void progress(const ProgressInfo &info);
    void terminated(const TerminateInfo &info);

private:
    struct PendingTask;

    int fail(const QString &errorText);
    void postNotice(const EncoderNotice &notice);
    void deliverNotices();
    void releaseFinishedWorker();

    std::vector<PendingTask> tasks_;
    bool preview_ = false;
    QString lastErrorText_;
    OutputSinkFactory sinkFactory_;
    std::unique_ptr<EncodeWorker> worker_;

    std::mutex noticesMutex_;
    std::deque<EncoderNotice> notices_;
};
