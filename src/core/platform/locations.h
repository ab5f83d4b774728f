#pragma once

#include <QString>
#include <QStringList>

// The user's folders the store reads and writes. Tests hand in temporary ones, so nothing
// here is read from the environment except by standard().
struct Locations
{
    QString home;
    QString dataHome;  // per-user application data ($XDG_DATA_HOME)
    QString cacheHome; // per-user caches ($XDG_CACHE_HOME)

    // From $HOME and the XDG variables, with the XDG defaults when they are unset or relative.
    static Locations standard();

    // Every location below one folder, as a test or a sandboxed run uses it.
    static Locations under(const QString &root);

    bool operator==(const Locations &) const = default;
};
