#include "install/installer.h"

#include "catalog/version.h"
#include "codesign/catalogrequirement.h"
#include "codesign/codesignatureverifier.h"
#include "install/archiveextractor.h"
#include "install/archivesignature.h"
#include "install/bundleplacement.h"
#include "install/installedcopies.h"
#include "install/installlog.h"
#include "install/releasebundle.h"
#include "install/workfolder.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace {

using Kind = InstallFailure::Kind;
using Result = Expected<QString, InstallFailure>;

} // namespace

Installer::Installer(Locations locations, AppRegistry *registry, QNetworkAccessManager *session,
                     std::shared_ptr<const CodeSignatureVerifier> verifier, ArchiveLimits archiveLimits)
    : m_locations(std::move(locations)), m_registry(registry), m_session(session), m_verifier(std::move(verifier)),
      m_archiveLimits(archiveLimits)
{}

QCoro::Task<Expected<QString, InstallFailure>> Installer::install(CatalogApp app, AppcastRelease release,
                                                                  ProgressCallback progress) const
{
    const QString bundleID = app.bundleID;
    const QString build = release.build;
    Result result = co_await run(std::move(app), std::move(release), std::move(progress));
    if (!result)
        qCWarning(lcInstall).noquote() << "install of" << bundleID << build
                                       << "failed:" << InstallFailure::name(result.error().kind) << "-"
                                       << result.error().detail;
    co_return result;
}

QCoro::Task<Expected<QString, InstallFailure>> Installer::run(CatalogApp app, AppcastRelease release,
                                                              ProgressCallback progress) const
{
    const Installer installer = *this; // the frame keeps what it needs past the first suspension
    if (!installer.m_verifier)
        co_return InstallFailure::of(Kind::BadCodeSignature, QStringLiteral("no code-signature verifier"));
    // What killed installs left goes first: their work folders (below) and staging folders.
    BundlePlacement::removeStale(installer.m_locations);
    // Removed when the install ends, however it ends.
    const Expected<WorkFolder, QString> workFolder = WorkFolder::create(installer.m_locations.temporary);
    if (!workFolder)
        co_return InstallFailure::of(Kind::FileSystem, workFolder.error());
    const QString work = workFolder->path();

    const TransferLimits limits = installer.m_archiveLimits.forLength(release.length);
    const Result archive = co_await ArchiveDownload::download(installer.m_session, release.url, work, limits, progress);
    if (!archive)
        co_return archive;
    // Each blocking step runs on the thread pool. Its future is held in a variable before it is
    // awaited: GCC 12 destroys the arguments of a QtConcurrent call made inside the co_await
    // expression twice.
    QFuture<Expected<Unit, InstallFailure>> checking =
        QtConcurrent::run(&ArchiveSignature::check, archive.value(), release.edSignature, app.sparklePublicKey);
    const Expected<Unit, InstallFailure> signedArchive = co_await checking;
    if (!signedArchive)
        co_return signedArchive.error();
    QFuture<Expected<QStringList, InstallFailure>> unpacking = QtConcurrent::run(
        &ArchiveExtractor::extract, archive.value(), work + QStringLiteral("/extracted"), UnpackLimits());
    const Expected<QStringList, InstallFailure> unpacked = co_await unpacking;
    if (!unpacked)
        co_return unpacked.error();
    const Result chosen = ReleaseBundle::choose(unpacked.value(), app.bundleID, release.build);
    if (!chosen)
        co_return chosen;
    const QString bundle = chosen.value();
    const std::shared_ptr<const CodeSignatureVerifier> verifier = installer.m_verifier;
    QFuture<CodeSignatureResult<Unit>> verifying =
        QtConcurrent::run([bundle, app, verifier] { return CatalogRequirement::check(bundle, app, *verifier); });
    const CodeSignatureResult<Unit> signature = co_await verifying;
    if (!signature)
        co_return InstallFailure::of(Kind::BadCodeSignature, CodeSignatureFailure::name(signature.error().kind) +
                                                                 QStringLiteral(": ") + signature.error().detail);
    const std::optional<InstalledApp> current =
        InstalledCopies(installer.m_locations, installer.m_registry).installed(app);
    if (current && Version::compare(current->build, release.build) == Version::Order::Descending)
        co_return InstallFailure::of(Kind::WrongApp, QStringLiteral("build %1 would replace the newer build %2 at %3")
                                                         .arg(release.build, current->build, current->url));
    const std::optional<QString> replacing = current ? std::optional<QString>(current->url) : std::nullopt;
    QFuture<Result> placing = QtConcurrent::run([bundle, replacing, installer] {
        return BundlePlacement::place(bundle, replacing, installer.m_locations, installer.m_registry);
    });
    co_return co_await placing;
}
