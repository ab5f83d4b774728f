#pragma once

#include <QString>
#include <QStringList>

// The system's register of installed applications, looked up by bundle identifier.
class AppRegistry
{
public:
    virtual ~AppRegistry() = default;

    // The bundles registered under this identifier, as absolute paths.
    virtual QStringList applications(const QString &bundleID) const = 0;

    // Registers a bundle (read from its Info.plist) so that lookups and the desktop find it.
    virtual bool registerApplication(const QString &bundlePath) = 0;
};
