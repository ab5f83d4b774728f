#include "install/installer.h"

#include "catalog/version.h"
#include "codesign/bundlesignatureverifier.h"
#include "codesign/catalogrequirement.h"
#include "install/archiveextractor.h"
#include "install/archivesignature.h"
#include "install/bundleplacement.h"
#include "platform/appregistry.h"
#include "platform/bundle.h"
#include "support/filetree.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

Q_LOGGING_CATEGORY(lcInstall, "tessel.install")

namespace {

// Removes an install's work folder when the install ends, however it ends.
struct WorkFolder
{
    QString path;
    ~WorkFolder() { FileTree::remove(path); }
};

} // namespace

Installer::Installer(Locations locations, AppRegistry *registry, QNetworkAccessManager *session,
                     std::shared_ptr<const CodeSignatureVerifier> verifier)
    : m_locations(std::move(locations)), m_registry(registry), m_session(session),
      m_verifier(verifier ? std::move(verifier) : standardVerifier())
{}

std::shared_ptr<const CodeSignatureVerifier> Installer::standardVerifier()
{
    return std::make_shared<BundleSignatureVerifier>(TrustAnchors::forBundle(Bundle::main()));
}

QCoro::Task<Expected<QString, InstallFailure>> Installer::install(CatalogApp app, AppcastRelease release,
                                                                  ProgressCallback progress) const
{
    using Result = Expected<QString, InstallFailure>;
    const Installer installer = *this; // the frame keeps what it needs past the first suspension
    const QString work = installer.m_locations.temporary + QStringLiteral("/tessel-store-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    if (!QDir().mkpath(work))
        co_return Result(InstallFailure(SystemError{QStringLiteral("cannot create %1").arg(work)}));
    const WorkFolder cleanup{work};

    const Result archive = co_await ArchiveDownload::download(installer.m_session, release.url, work, progress);
    if (!archive)
        co_return archive;
    // Each blocking step runs on the thread pool. Its future is held in a variable before it is
    // awaited: GCC 12 destroys the arguments of a QtConcurrent call made inside the co_await
    // expression twice.
    QFuture<bool> checking =
        QtConcurrent::run(&Installer::archiveIsSigned, archive.value(), release.edSignature, app.sparklePublicKey);
    const bool signedArchive = co_await checking;
    if (!signedArchive)
        co_return Result(InstallFailure(InstallError::of(InstallError::Kind::BadArchiveSignature)));
    QFuture<Result> unpacking =
        QtConcurrent::run(&ArchiveExtractor::extract, archive.value(), work + QStringLiteral("/extracted"));
    const Result unpacked = co_await unpacking;
    if (!unpacked)
        co_return unpacked;
    const QString bundle = unpacked.value();
    if (Bundle::at(bundle).string(QStringLiteral("CFBundleIdentifier")) != app.bundleID)
        co_return Result(InstallFailure(InstallError::of(InstallError::Kind::WrongApp)));
    const std::shared_ptr<const CodeSignatureVerifier> verifier = installer.m_verifier;
    QFuture<CodeSignatureResult<Unit>> verifying =
        QtConcurrent::run([bundle, app, verifier] { return CatalogRequirement::check(bundle, app, *verifier); });
    const CodeSignatureResult<Unit> signature = co_await verifying;
    if (!signature) {
        qCWarning(lcInstall) << "code signature of" << app.bundleID
                             << "rejected:" << CodeSignatureFailure::name(signature.error().kind)
                             << signature.error().detail;
        co_return Result(InstallFailure(InstallError::of(InstallError::Kind::BadCodeSignature)));
    }
    const std::optional<InstalledApp> current = installer.installed(app);
    const std::optional<QString> replacing = current ? std::optional<QString>(current->url) : std::nullopt;
    QFuture<Expected<QString, InstallError>> placing = QtConcurrent::run([bundle, replacing, installer] {
        return BundlePlacement::place(bundle, replacing, installer.m_locations, installer.m_registry);
    });
    const Expected<QString, InstallError> placed = co_await placing;
    if (!placed)
        co_return Result(InstallFailure(placed.error()));
    co_return Result(placed.value());
}

bool Installer::archiveIsSigned(const QString &archive, const std::optional<QString> &signature,
                                const QString &publicKey)
{
    return ArchiveSignature::isSigned(archive, signature, publicKey);
}

std::optional<InstalledApp> Installer::installed(const CatalogApp &app) const
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
        if (!best || rank < bestRank ||
            (rank == bestRank && Version::compare(copy.build, best->build) == Version::Order::Descending)) {
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
