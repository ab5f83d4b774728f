#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The system's register of installed applications, looked up by bundle identifier.
class AppRegistry
{
public:
    virtual ~AppRegistry() = default;

    // The bundles registered under each of these identifiers, as absolute paths in the
    // register's order, from one pass over the register; identifiers without any are absent.
    virtual QHash<QString, QStringList> applicationsOf(const QSet<QString> &bundleIDs) const = 0;

    // The bundles registered under one identifier.
    QStringList applications(const QString &bundleID) const
    {
        return applicationsOf(QSet<QString>{bundleID}).value(bundleID);
    }

    // Registers a bundle (read from its Info.plist) so that lookups and the desktop find it.
    virtual bool registerApplication(const QString &bundlePath) = 0;
};
