#pragma once

#include "catalog/catalog.h"
#include "install/installedapp.h"
#include "platform/locations.h"

#include <QHash>
#include <QList>
#include <optional>

class AppRegistry;

// The copies of catalog apps on this machine. Nothing is cached between calls, so every
// answer reflects the disk; a call about many apps looks at the disk once for all of them.
class InstalledCopies
{
public:
    InstalledCopies(Locations locations, AppRegistry *registry);

    // The bundles whose identifier is the app's, from the two Applications folders' top
    // level and the app registry, each once; what the store itself made there never counts.
    QList<InstalledApp> find(const CatalogApp &app) const;
    // The same for many apps, by product ID; apps without any copy are absent.
    QHash<QString, QList<InstalledApp>> find(const QList<CatalogApp> &apps) const;

    // A copy in the machine's Applications folder beats one in the user's, whatever the
    // versions; within one folder the higher build wins; copies elsewhere never count.
    static std::optional<InstalledApp> preferred(const QList<InstalledApp> &copies, const Locations &locations);

    // The copy to use: preferred(find(app)).
    std::optional<InstalledApp> installed(const CatalogApp &app) const;
    // The same for many apps, by product ID; apps without a copy to use are absent.
    QHash<QString, InstalledApp> installed(const QList<CatalogApp> &apps) const;

private:
    Locations m_locations;
    AppRegistry *m_registry;
};
