#include "record/encoder/OutputSink.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<OutputSink> FileSink::create(const QString &path, QString *errorText)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const int fileDescriptor =
        ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fileDescriptor < 0) {
        *errorText = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    return std::unique_ptr<OutputSink>(new FileSink(fileDescriptor));
}

FileSink::~FileSink()
{
    ::close(fileDescriptor_);
}

int FileSink::write(const uint8_t *data, int sizeBytes)
{
    while (sizeBytes > 0) {
        const ssize_t written = ::write(fileDescriptor_, data, static_cast<size_t>(sizeBytes));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return -errno;
        }
        data += written;
        sizeBytes -= static_cast<int>(written);
    }
    return 0;
}

qint64 FileSink::seek(qint64 offset, int whence)
{
    const off_t position = ::lseek(fileDescriptor_, offset, whence);
    return position < 0 ? -errno : position;
}

qint64 FileSink::sizeBytes()
{
    struct stat status {};
    return ::fstat(fileDescriptor_, &status) < 0 ? -errno : status.st_size;
}
