#include "locations.h"

#include <QDir>

namespace {

QString xdgFolder(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

} // namespace

Locations Locations::standard()
{
    const QString home = QDir::homePath();
    return {
        .home = home,
        .dataHome = xdgFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share")),
        .cacheHome = xdgFolder("XDG_CACHE_HOME", home + QStringLiteral("/.cache")),
    };
}

Locations Locations::under(const QString &root)
{
    return {
        .home = root + QStringLiteral("/home"),
        .dataHome = root + QStringLiteral("/home/.local/share"),
        .cacheHome = root + QStringLiteral("/home/.cache"),
    };
}
