#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

// Where a running task gets its pictures: a function called on the encoder's
// worker thread once per frame. Replacing it waits for a call in progress,
// so the old function is never called after the replacement returns.
class FrameSource
{
public:
    void set(std::function<QImage()> readPicture);
    // The current picture; a null image when there is none yet.
    QImage read() const;

private:
    mutable std::mutex mutex_;
    std::function<QImage()> readPicture_;
};

// The "frameinput" input of an encoding task. Its identity, written as a
// decimal number, is the input file name of the task that reads from it.
class FrameInputAdapter : public QObject
{
    Q_OBJECT

public:
    explicit FrameInputAdapter(QObject *parent = nullptr);
    ~FrameInputAdapter() override;

    quint64 identity() const { return identity_; }
    QString identityText() const { return QString::number(identity_); }

    // Called on the worker thread at the frame rate; returns the picture to
    // record (any size and format, stretched over the whole frame), or a
    // null image for a black frame.
    void setFrameSource(std::function<QImage()> readPicture);

    // The frame source of the adapter named by an input file name, or null
    // when no adapter has that identity. Safe on any thread; the source
    // stays valid while a task holds it, even if the adapter goes away.
    static std::shared_ptr<FrameSource> findSource(const QString &inputFileName);

private:
    const quint64 identity_;
    const std::shared_ptr<FrameSource> source_;
};
