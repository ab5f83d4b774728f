#include "maker/archivewriter.h"

#include "support/filetree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace ArchiveWriter {
namespace {

// 2026-01-01T00:00:00Z: every entry carries it, so a rebuild changes no byte.
constexpr qint64 fixedTime = 1767225600;

} // namespace

bool zip(const QString &bundle, const QString &archivePath)
{
    const QDir parent = QFileInfo(bundle).absoluteDir();
    QStringList paths{bundle};
    QDirIterator iterator(bundle, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
    while (iterator.hasNext())
        paths.append(iterator.next());
    paths.sort();

    std::unique_ptr<struct archive, decltype(&archive_write_free)> writer(archive_write_new(), &archive_write_free);
    archive_write_set_format_zip(writer.get());
    if (archive_write_open_filename(writer.get(), QFile::encodeName(archivePath).constData()) != ARCHIVE_OK)
        return false;
    for (const QString &path : std::as_const(paths)) {
        struct stat status;
        if (lstat(QFile::encodeName(path).constData(), &status) != 0)
            return false;
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), &archive_entry_free);
        QString name = parent.relativeFilePath(path);
        archive_entry_set_perm(entry.get(), status.st_mode & 0777);
        archive_entry_set_mtime(entry.get(), fixedTime, 0);
        QByteArray data;
        if (S_ISLNK(status.st_mode)) {
            archive_entry_set_filetype(entry.get(), AE_IFLNK);
            archive_entry_set_symlink(entry.get(), FileTree::linkTarget(path).value_or(QByteArray()).constData());
        } else if (S_ISDIR(status.st_mode)) {
            archive_entry_set_filetype(entry.get(), AE_IFDIR);
            name += u'/';
        } else {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            data = file.readAll();
            archive_entry_set_filetype(entry.get(), AE_IFREG);
            archive_entry_set_size(entry.get(), data.size());
        }
        archive_entry_set_pathname(entry.get(), name.toUtf8().constData());
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK)
            return false;
        if (!data.isEmpty() && archive_write_data(writer.get(), data.constData(), size_t(data.size())) != data.size())
            return false;
    }
    return archive_write_close(writer.get()) == ARCHIVE_OK;
}

bool diskImage(const QString &bundle, const QString &archivePath)
{
    QTemporaryDir staging;
    const QString copy = staging.filePath(QFileInfo(bundle).fileName());
    if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), bundle, copy}) != 0)
        return false;
    QProcess xorriso;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QString::number(fixedTime));
    xorriso.setProcessEnvironment(environment);
    xorriso.setStandardOutputFile(QProcess::nullDevice());
    xorriso.setStandardErrorFile(QProcess::nullDevice());
    xorriso.start(QStringLiteral("xorriso"),
                  {QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-R"), QStringLiteral("-V"),
                   QFileInfo(bundle).completeBaseName().left(32), QStringLiteral("-o"), archivePath, staging.path()});
    return xorriso.waitForFinished(-1) && xorriso.exitStatus() == QProcess::NormalExit && xorriso.exitCode() == 0;
}

} // namespace ArchiveWriter
