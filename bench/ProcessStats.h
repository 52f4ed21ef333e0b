#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

// CPU time and resident memory of this process, for the benchmark reports.
namespace ProcessStats {

inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double residentMiB()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace ProcessStats

// "--seconds N" from the command line, at least minimum; fallback when absent.
inline int secondsOption(const QStringList &arguments, int fallback, int minimum)
{
    const int at = arguments.indexOf("--seconds");
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    return std::max(minimum, arguments[at + 1].toInt());
}
