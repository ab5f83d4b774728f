#include "install/releasepreparation.h"

#include "codesign/catalogrequirement.h"
#include "codesign/codesignatureverifier.h"
#include "install/archiveextractor.h"
#include "install/archivesignature.h"
#include "install/releasebundle.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace ReleasePreparation {

QCoro::Task<Expected<QString, InstallFailure>> prepare(QNetworkAccessManager *session,
                                                       std::shared_ptr<const CodeSignatureVerifier> verifier,
                                                       CatalogApp app, AppcastRelease release, QString work,
                                                       ArchiveLimits limits, ProgressCallback progress)
{
    using Kind = InstallFailure::Kind;
    if (!verifier)
        co_return InstallFailure::of(Kind::BadCodeSignature, QStringLiteral("no code-signature verifier"));
    const Expected<QString, InstallFailure> archive = co_await ArchiveDownload::download(
        session, release.url, work, limits.forLength(release.length), std::move(progress));
    if (!archive)
        co_return archive;
    // Each blocking step's future is held in a variable before it is awaited: GCC 12 destroys
    // the arguments of a QtConcurrent call made inside the co_await expression twice.
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
    const Expected<QString, InstallFailure> chosen =
        ReleaseBundle::choose(unpacked.value(), app.bundleID, release.build);
    if (!chosen)
        co_return chosen;
    const QString bundle = chosen.value();
    QFuture<CodeSignatureResult<Unit>> verifying =
        QtConcurrent::run([bundle, app, verifier] { return CatalogRequirement::check(bundle, app, *verifier); });
    const CodeSignatureResult<Unit> signature = co_await verifying;
    if (!signature)
        co_return InstallFailure::of(Kind::BadCodeSignature, CodeSignatureFailure::name(signature.error().kind) +
                                                                 QStringLiteral(": ") + signature.error().detail);
    co_return bundle;
}

} // namespace ReleasePreparation
