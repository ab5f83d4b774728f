#pragma once

#include <QString>
#include <QStringView>

// The running system's version as dotted numbers; on Linux the kernel release.
struct SystemVersion
{
    qint64 major = 0;
    qint64 minor = 0;
    qint64 patch = 0;

    // Reads the leading numbers of a release text such as "6.1.0-18-amd64".
    static SystemVersion parse(QStringView release);
    static SystemVersion current();
    // The name of the system whose release current() reads, as a requirement names it ("Linux 6.1").
    static QString platformName();

    QString majorMinor() const;
    QString full() const;

    bool operator==(const SystemVersion &) const = default;
};
