#include "monitor/capture/V4l2Io.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

QStringList SystemV4l2Io::videoNodePaths()
{
    QStringList paths;
    const QDir dev(QStringLiteral("/dev"));
    for (const QString &name : dev.entryList({QStringLiteral("video*")}, QDir::System))
        paths << dev.filePath(name);
    return paths;
}

int SystemV4l2Io::open(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
}

int SystemV4l2Io::ioctl(int fd, unsigned long request, void *argument)
{
    int result;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}

void SystemV4l2Io::close(int fd)
{
    ::close(fd);
}
