#include "harness/releasefactory.h"

#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "maker/bundlesigner.h"
#include "support/filetree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <archive.h>
#include <archive_entry.h>

#include <sys/stat.h>

ReleaseFactory::ReleaseFactory(QString folder)
    : m_folder(std::move(folder)), m_root(CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Release Test Root"))),
      m_intermediate(CertificateIssuer::makeCodeSigningIntermediate(m_root, QStringLiteral("Release Test CA"))),
      m_leaf(
          CertificateIssuer::makeCodeSigningLeaf(m_intermediate, QString::fromLatin1(team), QStringLiteral("Orvel"))),
      m_archiveKey(SigningKey::generate())
{}

TrustAnchors ReleaseFactory::anchors() const
{
    return TrustAnchors(TrustAnchors::readPEM(m_root.certificate));
}

QString ReleaseFactory::archivePublicKey() const
{
    return QString::fromLatin1(m_archiveKey.publicKey().toBase64());
}

QString ReleaseFactory::signature(const QByteArray &archive) const
{
    return QString::fromLatin1(m_archiveKey.sign(archive).toBase64());
}

QString ReleaseFactory::launchMarker() const
{
    return m_folder + QStringLiteral("/launched.txt");
}

QByteArray ReleaseFactory::launches() const
{
    QFile marker(launchMarker());
    return marker.open(QIODevice::ReadOnly) ? marker.readAll() : QByteArray();
}

QString ReleaseFactory::app(const QString &name, const QString &bundleID, const QString &build,
                            const std::optional<QByteArray> &executable)
{
    return app(name, BundleFactory::info(bundleID, build, build), QString::fromLatin1(team), executable);
}

QString ReleaseFactory::app(const QString &name, const QVariantMap &info, const QString &signingTeam,
                            const std::optional<QByteArray> &executable)
{
    const QString build = info.value(QStringLiteral("CFBundleVersion")).toString();
    const QString bundle = m_folder + QStringLiteral("/made-%1/%2.app").arg(++m_made).arg(name);
    BundleFactory::write(bundle, info);
    const QString program = bundle + QStringLiteral("/Contents/MacOS/app");
    writeTestFile(program,
                  executable.value_or("#!/bin/sh\necho " + build.toUtf8() + " >> '" + launchMarker().toUtf8() + "'\n"));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    writeTestFile(bundle + QStringLiteral("/Contents/Resources/notes.txt"), "release " + build.toUtf8());
    QFile::link(QStringLiteral("notes.txt"), bundle + QStringLiteral("/Contents/Resources/readme.txt"));
    const PemIdentity leaf =
        signingTeam == QLatin1String(team)
            ? m_leaf
            : CertificateIssuer::makeCodeSigningLeaf(m_intermediate, signingTeam, QStringLiteral("Orvel"));
    if (const std::optional<QString> failure = BundleSigner(leaf, {m_intermediate.certificate}).sign(bundle))
        qFatal("cannot sign the test app: %s", qPrintable(*failure));
    return bundle;
}

QByteArray ReleaseFactory::zip(const QList<ZipEntry> &entries)
{
    QByteArray out(1 << 20, '\0');
    size_t used = 0;
    struct archive *writer = archive_write_new();
    archive_write_set_format_zip(writer);
    // Large enough for the test apps; a zip that does not fit is a test of the wrong size.
    if (archive_write_open_memory(writer, out.data(), size_t(out.size()), &used) != ARCHIVE_OK)
        qFatal("cannot start a zip");
    for (const ZipEntry &item : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.toUtf8().constData());
        archive_entry_set_perm(entry, mode_t(item.mode));
        switch (item.type) {
        case ZipEntry::Type::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, item.data.size());
            break;
        case ZipEntry::Type::Folder:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case ZipEntry::Type::Link:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.data.constData());
            break;
        }
        archive_write_header(writer, entry);
        if (item.type == ZipEntry::Type::File)
            archive_write_data(writer, item.data.constData(), size_t(item.data.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    out.truncate(qsizetype(used));
    return out;
}

QByteArray ReleaseFactory::zip(const QString &bundle, const QString &prefix)
{
    return zip(zipEntries(bundle, prefix));
}

QList<ReleaseFactory::ZipEntry> ReleaseFactory::zipEntries(const QString &bundle, const QString &prefix)
{
    const QDir parent = QFileInfo(bundle).absoluteDir();
    QList<ZipEntry> entries;
    QStringList paths{bundle};
    QDirIterator iterator(bundle, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
    while (iterator.hasNext())
        paths.append(iterator.next());
    for (const QString &path : std::as_const(paths)) {
        const QFileInfo info(path);
        struct stat status;
        lstat(QFile::encodeName(path).constData(), &status);
        ZipEntry entry{prefix + parent.relativeFilePath(path), ZipEntry::Type::File, {}, int(status.st_mode & 0777)};
        if (info.isSymLink()) {
            entry.type = ZipEntry::Type::Link;
            entry.data = FileTree::linkTarget(path).value_or(QByteArray());
        } else if (info.isDir()) {
            entry.type = ZipEntry::Type::Folder;
            entry.name += u'/';
        } else {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            entry.data = file.readAll();
        }
        entries.append(entry);
    }
    return entries;
}

QByteArray ReleaseFactory::diskImage(const QString &bundle) const
{
    const QString source = m_folder + QStringLiteral("/image-source-%1").arg(QFileInfo(bundle).fileName());
    const QString image = source + QStringLiteral(".dmg");
    QDir(source).removeRecursively();
    QDir().mkpath(source);
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), bundle, source + u'/'});
    QProcess xorriso;
    xorriso.start(QStringLiteral("xorriso"), {QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-R"),
                                              QStringLiteral("-quiet"), QStringLiteral("-o"), image, source});
    if (!xorriso.waitForFinished(60000) || xorriso.exitCode() != 0)
        qFatal("xorriso could not make a disk image: %s", xorriso.readAllStandardError().constData());
    QFile file(image);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
