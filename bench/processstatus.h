#pragma once

#include <QByteArray>
#include <QFile>

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
