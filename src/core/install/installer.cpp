#include "install/installer.h"

#include "catalog/version.h"
#include "install/bundleplacement.h"
#include "install/installedcopies.h"
#include "install/installlog.h"
#include "install/releasepreparation.h"
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
    // What killed installs left goes first: their work folders (below) and staging folders.
    BundlePlacement::removeStale(installer.m_locations);
    // Removed when the install ends, however it ends.
    const Expected<WorkFolder, QString> workFolder = WorkFolder::create(installer.m_locations.temporary);
    if (!workFolder)
        co_return InstallFailure::of(Kind::FileSystem, workFolder.error());
    const QString work = workFolder->path();

    const Result prepared = co_await ReleasePreparation::prepare(
        installer.m_session, installer.m_verifier, app, release, work, installer.m_archiveLimits, std::move(progress));
    if (!prepared)
        co_return prepared;
    const QString bundle = prepared.value();
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
