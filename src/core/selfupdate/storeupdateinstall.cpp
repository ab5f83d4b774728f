#include "selfupdate/storeupdateinstall.h"

#include "install/bundleplacement.h"
#include "install/releasepreparation.h"
#include "install/workfolder.h"
#include "platform/bundle.h"
#include "selfupdate/selfupdatelog.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace StoreUpdateInstall {
namespace {

using Result = Expected<QString, InstallFailure>;

QCoro::Task<Result> run(QNetworkAccessManager *session, std::shared_ptr<const CodeSignatureVerifier> verifier,
                        QString runningBundle, QString runningTeam, QString publicKey, AppcastRelease release,
                        QString temporary, ProgressCallback progress, ArchiveLimits limits)
{
    CatalogApp store;
    store.bundleID = Bundle::at(runningBundle).string(QStringLiteral("CFBundleIdentifier"));
    store.teamID = runningTeam;
    store.sparklePublicKey = publicKey;
    if (store.bundleID.isEmpty() || store.teamID.isEmpty())
        co_return InstallFailure::of(
            InstallFailure::Kind::WrongApp,
            QStringLiteral("the running store at %1 names no identifier or team").arg(runningBundle));
    // Removed when the install ends, however it ends; those of killed installs go first.
    const Expected<WorkFolder, QString> workFolder = WorkFolder::create(temporary);
    if (!workFolder)
        co_return InstallFailure::of(InstallFailure::Kind::FileSystem, workFolder.error());
    const Result prepared = co_await ReleasePreparation::prepare(
        session, std::move(verifier), store, std::move(release), workFolder->path(), limits, std::move(progress));
    if (!prepared)
        co_return prepared;
    const QString bundle = prepared.value();
    QFuture<Result> placing = QtConcurrent::run([bundle, runningBundle] {
        // Replacing never looks into the Applications folders, nor registers: the store's own
        // desktop entry names its bundle's path, which stays.
        return BundlePlacement::place(bundle, runningBundle, Locations(), nullptr);
    });
    co_return co_await placing;
}

} // namespace

QCoro::Task<Expected<QString, InstallFailure>> install(QNetworkAccessManager *session,
                                                       std::shared_ptr<const CodeSignatureVerifier> verifier,
                                                       QString runningBundle, QString runningTeam, QString publicKey,
                                                       AppcastRelease release, QString temporary,
                                                       ProgressCallback progress, ArchiveLimits limits)
{
    const QString build = release.build;
    Result result =
        co_await run(session, std::move(verifier), std::move(runningBundle), std::move(runningTeam),
                     std::move(publicKey), std::move(release), std::move(temporary), std::move(progress), limits);
    if (!result)
        qCWarning(lcSelfUpdate).noquote()
            << "the store's update to" << build << "failed:" << InstallFailure::name(result.error().kind) << "-"
            << result.error().detail;
    co_return result;
}

} // namespace StoreUpdateInstall
