#pragma once

#include "platform/appregistry.h"
#include "platform/locations.h"

// The register as freedesktop .desktop entries: an entry carrying "X-Tessel-BundleIdentifier"
// and "X-Tessel-BundlePath" in $XDG_DATA_HOME/applications or any $XDG_DATA_DIRS/applications
// names a bundle. Registering writes one in the user's folder, so the app also appears in the
// desktop's application menu.
class DesktopEntryRegistry : public AppRegistry
{
public:
    explicit DesktopEntryRegistry(Locations locations);

    QHash<QString, QStringList> applicationsOf(const QSet<QString> &bundleIDs) const override;
    bool registerApplication(const QString &bundlePath) override;

    // The file an identifier's entry is written to.
    QString entryPath(const QString &bundleID) const;

private:
    Locations m_locations;
};
