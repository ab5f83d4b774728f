#include "installer.h"

#include "catalog/version.h"
#include "codesign/bundlesignatureverifier.h"
#include "codesign/requirement.h"
#include "platform/appregistry.h"
#include "platform/bundle.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>

Q_LOGGING_CATEGORY(lcInstall, "tessel.install")

Installer::Installer(Locations locations, const AppRegistry *registry)
    : m_locations(std::move(locations)), m_registry(registry)
{
}

std::optional<InstalledApp> Installer::installed(const CatalogApp &app) const
{
    QStringList locations;
    for (const QString &folder : m_locations.applicationsFolders()) {
        const QDir listing(folder);
        // Hidden entries count too: the listing is what is on disk, not what a user sees.
        for (const QString &name : listing.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
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
        if (seen.contains(standardized))
            continue;
        seen.insert(standardized);
        const std::optional<QVariantMap> info = Bundle::at(standardized).infoDictionary();
        const QVariant identifier = info ? info->value(QStringLiteral("CFBundleIdentifier")) : QVariant();
        if (identifier.typeId() != QMetaType::QString || identifier.toString() != app.bundleID)
            continue;
        copies.append(InstalledApp::fromInfo(standardized, *info));
    }
    return preferredCopy(copies, m_locations);
}

std::optional<InstalledApp> Installer::preferredCopy(const QList<InstalledApp> &copies, const Locations &locations)
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
        if (!best || rank < bestRank
            || (rank == bestRank && Version::compare(copy.build, best->build) == Version::Order::Descending)) {
            best = copy;
            bestRank = rank;
        }
    }
    return best;
}

bool Installer::needsUpdate(const InstalledApp &installed, const AppcastRelease &release)
{
    return Version::compare(installed.build, release.build) == Version::Order::Ascending;
}

QString Installer::requirement(const CatalogApp &app)
{
    return QStringLiteral("anchor apple generic and identifier \"") + app.bundleID
        + QStringLiteral("\" and certificate leaf[subject.OU] = \"") + app.teamID + u'"';
}

bool Installer::codeSignatureIsValid(const QString &bundle, const CatalogApp &app)
{
    const BundleSignatureVerifier verifier(TrustAnchors::forBundle(Bundle::main()));
    const std::optional<QString> failure = codeSignatureFailure(bundle, app, verifier);
    if (failure)
        qCWarning(lcInstall) << "code signature of" << bundle << "rejected:" << *failure;
    return !failure;
}

std::optional<QString> Installer::codeSignatureFailure(const QString &bundle, const CatalogApp &app,
                                                       const CodeSignatureVerifier &verifier)
{
    for (const QString &value : {app.bundleID, app.teamID}) {
        if (value.contains(u'"') || value.contains(u'\\'))
            return QStringLiteral("the catalog's identifier or team contains a quote or a backslash");
    }
    QString reason;
    const std::optional<Requirement> compiled = Requirement::compile(requirement(app), &reason);
    if (!compiled)
        return reason;
    return verifier.failure(bundle, *compiled);
}
