// The two heavy steps of an install next to the standard tools doing the same work on the
// same bytes: the archive signature check of a 1 GiB file against sha512sum (Ed25519 hashes
// the message once with SHA-512), and unpacking a 200 MB zip against bsdtar -xf.
#include "harness/modelfixture.h"
#include "install/archiveextractor.h"
#include "install/archivesignature.h"
#include "maker/signingkey.h"

#include "bench/benchtiming.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

void writePattern(const QString &path, qint64 size, int seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += chunk.size()) {
        for (qsizetype i = 0; i < chunk.size(); i += 8)
            chunk[i] = char(seed + written / chunk.size() + i);
        file.write(chunk.left(qsizetype(std::min<qint64>(chunk.size(), size - written))));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    bool ok = true;

    const QString archive = folder.filePath(QStringLiteral("big.zip"));
    writePattern(archive, qint64(1) << 30, 7);
    const SigningKey key = SigningKey::generate();
    QString signature;
    {
        QFile file(archive);
        file.open(QIODevice::ReadOnly);
        const uchar *mapped = file.map(0, file.size());
        signature = QString::fromLatin1(
            key.sign(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size())).toBase64());
    }
    const QString publicKey = QString::fromLatin1(key.publicKey().toBase64());
    const double check =
        bestMilliseconds(3, [&] { ok = ok && ArchiveSignature::check(archive, signature, publicKey).hasValue(); });
    const double sha512 = bestMilliseconds(3, [&] { ok = ok && runTool(QStringLiteral("sha512sum"), {archive}); });
    QFile::remove(archive);

    const QString bundle = folder.filePath(QStringLiteral("source/Big.app/Contents/Resources"));
    QDir().mkpath(bundle);
    for (int i = 0; i < 400; ++i)
        writePattern(bundle + QStringLiteral("/file%1.bin").arg(i), 500 * 1024, i);
    const QString zip = folder.filePath(QStringLiteral("bundle.zip"));
    ok =
        ok && runTool(QStringLiteral("bsdtar"), {QStringLiteral("-a"), QStringLiteral("-cf"), zip, QStringLiteral("-C"),
                                                 folder.filePath(QStringLiteral("source")), QStringLiteral("Big.app")});
    int round = 0;
    const double unpack = bestMilliseconds(3, [&] {
        const QString out = folder.filePath(QStringLiteral("ours-%1").arg(++round));
        QDir().mkpath(out);
        ok = ok && ArchiveExtractor::extractZip(zip, out).hasValue();
    });
    const double bsdtar = bestMilliseconds(3, [&] {
        const QString out = folder.filePath(QStringLiteral("bsdtar-%1").arg(++round));
        QDir().mkpath(out);
        ok = ok && runTool(QStringLiteral("bsdtar"), {QStringLiteral("-xf"), zip, QStringLiteral("-C"), out});
    });
    if (!ok)
        qFatal("a step of the benchmark failed");
    std::printf("archive signature check of 1 GiB: %8.1f ms; sha512sum (base) %8.1f ms; ratio %.2f\n", check, sha512,
                check / sha512);
    std::printf("unpacking a 200 MB zip:           %8.1f ms; bsdtar -xf (base) %8.1f ms; ratio %.2f\n", unpack, bsdtar,
                unpack / bsdtar);
    return 0;
}
