#include "install/installedcopies.h"

#include "catalog/version.h"
#include "install/bundleplacement.h"
#include "platform/appregistry.h"
#include "platform/bundle.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

InstalledCopies::InstalledCopies(Locations locations, AppRegistry *registry)
    : m_locations(std::move(locations)), m_registry(registry)
{}

QList<InstalledApp> InstalledCopies::find(const CatalogApp &app) const
{
    QStringList locations;
    for (const QString &folder : m_locations.applicationsFolders()) {
        const QDir listing(folder);
        // Hidden entries count too: the listing is what is on disk, not what a user sees.
        for (const QString &name :
             listing.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (name.endsWith(QLatin1String(".app")) && name.size() > 4)
                locations.append(listing.filePath(name));
        }
    }
    if (m_registry)
        locations.append(m_registry->applications(app.bundleID));

    QSet<QString> seen;
    QList<InstalledApp> copies;
    for (const QString &location : std::as_const(locations)) {
        const QString standardized = QDir::cleanPath(QFileInfo(location).absoluteFilePath());
        // A bundle the store is staging (or a dead install left) is not an installed copy.
        if (seen.contains(standardized) || BundlePlacement::isOwnEntry(QFileInfo(standardized).fileName()))
            continue;
        seen.insert(standardized);
        const std::optional<QVariantMap> info = Bundle::at(standardized).infoDictionary();
        const QVariant identifier = info ? info->value(QStringLiteral("CFBundleIdentifier")) : QVariant();
        if (identifier.typeId() != QMetaType::QString || identifier.toString() != app.bundleID)
            continue;
        copies.append(InstalledApp::fromInfo(standardized, *info));
    }
    return copies;
}

std::optional<InstalledApp> InstalledCopies::preferred(const QList<InstalledApp> &copies, const Locations &locations)
{
    const QString systemPrefix = QDir::cleanPath(locations.systemApplications) + u'/';
    const QString userPrefix = QDir::cleanPath(locations.userApplications()) + u'/';
    std::optional<InstalledApp> best;
    int bestRank = 0;
    for (const InstalledApp &copy : copies) {
        const QString path = QDir::cleanPath(copy.url);
        const int rank = path.startsWith(systemPrefix) ? 0 : path.startsWith(userPrefix) ? 1 : -1;
        if (rank < 0)
            continue;
        if (!best || rank < bestRank ||
            (rank == bestRank && Version::compare(copy.build, best->build) == Version::Order::Descending)) {
            best = copy;
            bestRank = rank;
        }
    }
    return best;
}

std::optional<InstalledApp> InstalledCopies::installed(const CatalogApp &app) const
{
    return preferred(find(app), m_locations);
}
