// Verifying the code signature of a bundle of 2000 files and 200 MB, next to sha256sum over
// the same files: the verifier should cost about one pass of hashing.
#include "codesign/bundlesignatureverifier.h"
#include "codesign/catalogrequirement.h"
#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "maker/bundlesigner.h"
#include "maker/certificateissuer.h"

#include "bench/benchtiming.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    constexpr int fileCount = 2000;
    constexpr int fileSize = 100 * 1024;
    QTemporaryDir folder;
    const QString bundle = folder.filePath(QStringLiteral("Big.app"));
    BundleFactory::write(bundle, BundleFactory::info(QStringLiteral("com.orvel.big"), QString(), QStringLiteral("1")));
    QByteArray content(fileSize, Qt::Uninitialized);
    for (int i = 0; i < fileCount; ++i) {
        for (int j = 0; j < fileSize; j += 64)
            content[j] = char(i + j);
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/d%1/f%2.bin").arg(i % 40).arg(i), content);
    }
    const PemIdentity root = CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Bench Root"));
    const PemIdentity intermediate = CertificateIssuer::makeCodeSigningIntermediate(root, QStringLiteral("Bench CA"));
    const PemIdentity leaf =
        CertificateIssuer::makeCodeSigningLeaf(intermediate, QStringLiteral("BENCH12345"), QStringLiteral("Orvel"));
    if (const std::optional<QString> failure = BundleSigner(leaf, {intermediate.certificate}).sign(bundle))
        qFatal("signing failed: %s", qPrintable(*failure));

    CatalogApp app;
    app.bundleID = QStringLiteral("com.orvel.big");
    app.teamID = QStringLiteral("BENCH12345");
    const BundleSignatureVerifier verifier(TrustAnchors({TrustAnchors::readPEM(root.certificate)}));
    bool valid = true;
    const double verify =
        bestMilliseconds(3, [&] { valid = valid && CatalogRequirement::check(bundle, app, verifier).hasValue(); });

    QStringList files;
    QDirIterator iterator(bundle + QStringLiteral("/Contents/Resources"), QDir::Files, QDirIterator::Subdirectories);
    while (iterator.hasNext())
        files.append(iterator.next());
    const double sha256sum = bestMilliseconds(3, [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral("sha256sum"), files);
        valid = valid && process.waitForFinished(120000) && process.exitCode() == 0;
    });
    if (!valid)
        qFatal("the benchmark bundle did not verify, or sha256sum failed");
    std::printf("bundle of %d files, %.0f MB\n", fileCount, fileCount * double(fileSize) / 1e6);
    std::printf("code-signature check:   %8.1f ms\n", verify);
    std::printf("sha256sum (base):       %8.1f ms\n", sha256sum);
    std::printf("ratio check/sha256sum:  %8.2f\n", verify / sha256sum);
    return 0;
}
