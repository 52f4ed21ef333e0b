#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>

// Where the muxer's bytes go. Errors are negative errno values, which are
// also FFmpeg's error codes on this platform.
class OutputSink
{
public:
    virtual ~OutputSink() = default;
    // Writes all bytes; 0 on success or a negative errno.
    virtual int write(const uint8_t *data, int sizeBytes) = 0;
    // As lseek(2); the new position or a negative errno.
    virtual qint64 seek(qint64 offset, int whence) = 0;
    // The size of what was written so far, or a negative errno.
    virtual qint64 sizeBytes() = 0;
};

// Makes the sink for an output file; on failure returns null and says why.
using OutputSinkFactory =
    std::function<std::unique_ptr<OutputSink>(const QString &path, QString *errorText)>;

// A new file on disk, written without buffering of its own: bytes handed to
// it reach the kernel at once, so they survive the program being killed.
class FileSink final : public OutputSink
{
public:
    static std::unique_ptr<OutputSink> create(const QString &path, QString *errorText);
    ~FileSink() override;

    int write(const uint8_t *data, int sizeBytes) override;
    qint64 seek(qint64 offset, int whence) override;
    qint64 sizeBytes() override;

private:
    explicit FileSink(int fileDescriptor) : fileDescriptor_(fileDescriptor) {}
    int fileDescriptor_;
};
