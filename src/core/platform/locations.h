#pragma once

#include <QString>
#include <QStringList>

// The user's folders the store reads and writes. Tests hand in temporary ones, so nothing
// here is read from the environment except by standard().
struct Locations
{
    QString home;
    QString dataHome;           // per-user application data ($XDG_DATA_HOME)
    QStringList dataDirs;       // system-wide application data ($XDG_DATA_DIRS)
    QString configHome;         // per-user settings ($XDG_CONFIG_HOME), where autostart entries live
    QString cacheHome;          // per-user caches ($XDG_CACHE_HOME)
    QString systemApplications; // the machine's Applications folder, "/Applications"
    QString temporary;          // per-user temporary files (install work folders)

    // Where apps are installed, in order of preference: the machine's, then the user's.
    QStringList applicationsFolders() const;
    QString userApplications() const;

    // From $HOME and the XDG variables, with the XDG defaults when they are unset or relative.
    // $TESSEL_SYSTEM_APPLICATIONS stands in for "/Applications", so that a demo or a test
    // run of the tools never touches the machine's own.
    static Locations standard();

    // Every location below one folder, as a test or a sandboxed run uses it.
    static Locations under(const QString &root);

    bool operator==(const Locations &) const = default;
};
