#include "platform/systemversion.h"

#include <sys/utsname.h>

SystemVersion SystemVersion::parse(QStringView release)
{
    qint64 numbers[3] = {0, 0, 0};
    int index = 0;
    for (const QChar c : release) {
        if (c.isDigit() && c.unicode() < 128) {
            numbers[index] = std::min<qint64>(numbers[index] * 10 + (c.unicode() - u'0'), 1'000'000'000);
        } else if (c == u'.' && index < 2) {
            ++index;
        } else {
            break;
        }
    }
    return {numbers[0], numbers[1], numbers[2]};
}

SystemVersion SystemVersion::current()
{
    utsname name{};
    if (uname(&name) != 0)
        return {};
    return parse(QString::fromLatin1(name.release));
}

QString SystemVersion::platformName()
{
    // current() reads the kernel's release, so requirements count in kernel versions.
    return QStringLiteral("Linux");
}

QString SystemVersion::majorMinor() const
{
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}

QString SystemVersion::full() const
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(patch);
}
