#include "platform/locations.h"

#include <QDir>

namespace {

QString xdgFolder(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

QStringList xdgFolders(const char *variable, const QStringList &fallback)
{
    QStringList folders;
    for (const QString &folder : qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders.append(QDir::cleanPath(folder));
    }
    return folders.isEmpty() ? fallback : folders;
}

} // namespace

Locations Locations::standard()
{
    const QString home = QDir::homePath();
    return {
        .home = home,
        .dataHome = xdgFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share")),
        .dataDirs = xdgFolders("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}),
        .configHome = xdgFolder("XDG_CONFIG_HOME", home + QStringLiteral("/.config")),
        .cacheHome = xdgFolder("XDG_CACHE_HOME", home + QStringLiteral("/.cache")),
        .systemApplications = xdgFolder("TESSEL_SYSTEM_APPLICATIONS", QStringLiteral("/Applications")),
        .temporary = QDir::tempPath(),
    };
}

Locations Locations::under(const QString &root)
{
    return {
        .home = root + QStringLiteral("/home"),
        .dataHome = root + QStringLiteral("/home/.local/share"),
        .dataDirs = {root + QStringLiteral("/usr/share")},
        .configHome = root + QStringLiteral("/home/.config"),
        .cacheHome = root + QStringLiteral("/home/.cache"),
        .systemApplications = root + QStringLiteral("/Applications"),
        .temporary = root + QStringLiteral("/tmp"),
    };
}

QString Locations::userApplications() const
{
    return home + QStringLiteral("/Applications");
}

QStringList Locations::applicationsFolders() const
{
    return {systemApplications, userApplications()};
}
