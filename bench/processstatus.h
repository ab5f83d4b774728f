#pragma once

#include <QByteArray>
#include <QFile>

#include <sys/resource.h>

// A number from /proc/self/status ("VmRSS", "VmHWM", "RssAnon", "Threads"), in its unit (kB
// for sizes); -1 where there is none.
inline qint64 processStatus(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The CPU time, user and system, this process has used so far.
inline double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}
