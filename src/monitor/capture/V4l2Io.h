#pragma once

#include <QString>
#include <QStringList>

// The system calls behind V4L2 device enumeration and controls, so that they
// can be replaced by a scripted fake in tests.
class V4l2Io
{
public:
    virtual ~V4l2Io() = default;

    // The /dev/video* nodes present, in any order.
    virtual QStringList videoNodePaths() = 0;
    // A descriptor (>= 0), or -errno.
    virtual int open(const QString &path) = 0;
    // 0, or the errno of the failure.
    virtual int ioctl(int fd, unsigned long request, void *argument) = 0;
    virtual void close(int fd) = 0;
};

// The real calls: open(2) non-blocking, ioctl(2) retried on EINTR, close(2).
class SystemV4l2Io final : public V4l2Io
{
public:
    QStringList videoNodePaths() override;
    int open(const QString &path) override;
    int ioctl(int fd, unsigned long request, void *argument) override;
    void close(int fd) override;
};

// Owns one open descriptor of a V4l2Io; closes it when it goes.
class V4l2Fd
{
public:
    V4l2Fd(V4l2Io &io, const QString &path) : io_(io), fd_(io.open(path)) {}
    ~V4l2Fd()
    {
        if (fd_ >= 0)
            io_.close(fd_);
    }
    V4l2Fd(const V4l2Fd &) = delete;
    V4l2Fd &operator=(const V4l2Fd &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int openError() const { return fd_ < 0 ? -fd_ : 0; }
    int ioctl(unsigned long request, void *argument) { return io_.ioctl(fd_, request, argument); }

private:
    V4l2Io &io_;
    int fd_;
};
