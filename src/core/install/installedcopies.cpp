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
    return find(QList<CatalogApp>{app}).value(app.productID);
}

QHash<QString, QList<InstalledApp>> InstalledCopies::find(const QList<CatalogApp> &apps) const
{
    QSet<QString> identifiers;
    for (const CatalogApp &app : apps)
        identifiers.insert(app.bundleID);
    // Where to look, and under which identifier the register lists it: a listed bundle counts
    // only for the identifier it is listed under, a bundle in the folders for its own.
    QList<std::pair<QString, QString>> locations;
    for (const QString &folder : m_locations.applicationsFolders()) {
        const QDir listing(folder);
        // Hidden entries count too: the listing is what is on disk, not what a user sees.
        for (const QString &name :
             listing.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (name.endsWith(QLatin1String(".app")) && name.size() > 4)
                locations.append({listing.filePath(name), QString()});
        }
    }
    if (m_registry) {
        const QHash<QString, QStringList> registered = m_registry->applicationsOf(identifiers);
        for (const CatalogApp &app : apps) {
            for (const QString &bundle : registered.value(app.bundleID))
                locations.append({bundle, app.bundleID});
        }
    }

    // Each bundle is read once, whichever app it turns out to be.
    QSet<QString> seen;
    QHash<QString, std::optional<QVariantMap>> infos;
    QHash<QString, QList<InstalledApp>> byIdentifier;
    for (const auto &[location, listedUnder] : std::as_const(locations)) {
        const QString standardized = QDir::cleanPath(QFileInfo(location).absoluteFilePath());
        // A bundle the store is staging (or a dead install left) is not an installed copy.
        if (seen.contains(standardized) || BundlePlacement::isOwnEntry(QFileInfo(standardized).fileName()))
            continue;
        auto info = infos.constFind(standardized);
        if (info == infos.constEnd())
            info = infos.insert(standardized, Bundle::at(standardized).infoDictionary());
        const QVariant identifier = *info ? (*info)->value(QStringLiteral("CFBundleIdentifier")) : QVariant();
        if (identifier.typeId() != QMetaType::QString || !identifiers.contains(identifier.toString()) ||
            (!listedUnder.isEmpty() && identifier.toString() != listedUnder))
            continue;
        seen.insert(standardized);
        byIdentifier[identifier.toString()].append(InstalledApp::fromInfo(standardized, **info));
    }
    QHash<QString, QList<InstalledApp>> copies;
    for (const CatalogApp &app : apps) {
        const auto found = byIdentifier.constFind(app.bundleID);
        if (found != byIdentifier.constEnd())
            copies.insert(app.productID, *found);
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

QHash<QString, InstalledApp> InstalledCopies::installed(const QList<CatalogApp> &apps) const
{
    QHash<QString, InstalledApp> chosen;
    const QHash<QString, QList<InstalledApp>> copies = find(apps);
    for (auto it = copies.begin(); it != copies.end(); ++it) {
        if (std::optional<InstalledApp> copy = preferred(it.value(), m_locations))
            chosen.insert(it.key(), std::move(*copy));
    }
    return chosen;
}
