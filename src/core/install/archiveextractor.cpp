#include "install/archiveextractor.h"

#include "install/toolrunner.h"
#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace ArchiveExtractor {
namespace {

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;
using Writer = std::unique_ptr<archive, decltype(&archive_write_free)>;

// A path inside the archive that stays inside the destination: relative, no "..".
bool isContained(const QString &path)
{
    if (path.isEmpty() || path.startsWith(u'/'))
        return false;
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    return !parts.contains(QStringLiteral(".."));
}

// A link's target resolved from the link's own folder must stay inside the destination.
bool linkIsContained(const QString &linkPath, const QString &target)
{
    if (target.isEmpty() || target.startsWith(u'/'))
        return false;
    const QString resolved = QDir::cleanPath(QStringLiteral("/root/") + QFileInfo(linkPath).path() + u'/' + target);
    return resolved.startsWith(QLatin1String("/root/"));
}

bool copyData(archive *reader, archive *writer)
{
    const void *buffer = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = archive_read_data_block(reader, &buffer, &size, &offset);
        if (status == ARCHIVE_EOF)
            return true;
        if (status != ARCHIVE_OK || archive_write_data_block(writer, buffer, size, offset) != ARCHIVE_OK)
            return false;
    }
}

} // namespace

std::optional<QString> appBundle(const QString &folder)
{
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &entry : entries) {
        if (entry.endsWith(QLatin1String(".app")) && entry.size() > 4)
            return QDir(folder).filePath(entry);
    }
    return std::nullopt;
}

bool extractZip(const QString &archivePath, const QString &destination)
{
    Reader reader(archive_read_new(), &archive_read_free);
    archive_read_support_format_zip(reader.get());
    Writer writer(archive_write_disk_new(), &archive_write_free);
    // The entry names are checked here (they are rewritten as absolute paths below the
    // destination); libarchive refuses to write through links and ".." on top of that.
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_TIME |
                                                     ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                     ARCHIVE_EXTRACT_UNLINK);
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(), 1 << 16) != ARCHIVE_OK)
        return false;
    const QString root = QDir::cleanPath(destination) + u'/';
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            return true;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return false;
        const char *rawName = archive_entry_pathname(entry);
        const QString name = rawName ? QString::fromUtf8(rawName) : QString();
        if (name == QLatin1String("__MACOSX") || name.startsWith(QLatin1String("__MACOSX/")))
            continue;
        if (!isContained(name))
            return false;
        const char *hardlink = archive_entry_hardlink(entry);
        if (hardlink) {
            const QString linked = QString::fromUtf8(hardlink);
            if (!isContained(linked))
                return false;
            archive_entry_set_hardlink(entry, QFile::encodeName(root + linked).constData());
        }
        if (archive_entry_filetype(entry) == AE_IFLNK) {
            const char *target = archive_entry_symlink(entry);
            if (!target || !linkIsContained(name, QString::fromUtf8(target)))
                return false;
        }
        const mode_t type = archive_entry_filetype(entry);
        if (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK)
            return false;
        // No set-id bits from a download.
        archive_entry_set_perm(entry, archive_entry_perm(entry) & 0777);
        archive_entry_set_pathname(entry, QFile::encodeName(root + name).constData());
        if (archive_write_header(writer.get(), entry) != ARCHIVE_OK)
            return false;
        if (archive_entry_size(entry) > 0 && !copyData(reader.get(), writer.get()))
            return false;
        if (archive_write_finish_entry(writer.get()) != ARCHIVE_OK)
            return false;
    }
}

Expected<QString, InstallFailure> extract(const QString &archive, const QString &destination)
{
    if (!QDir().mkpath(destination))
        return InstallFailure(SystemError{QStringLiteral("cannot create %1").arg(destination)});
    const QString type = QFileInfo(archive).suffix().toLower();
    const InstallFailure extractFailure = InstallError::of(InstallError::Kind::Extract);
    const InstallFailure noApp = InstallError::of(InstallError::Kind::NoAppInArchive);
    if (type == QLatin1String("zip")) {
        if (!extractZip(archive, destination))
            return extractFailure;
        const std::optional<QString> app = appBundle(destination);
        return app ? Expected<QString, InstallFailure>(*app) : noApp;
    }
    if (type != QLatin1String("dmg"))
        return extractFailure;

    const QString mount = QFileInfo(destination).absolutePath() + QStringLiteral("/mount");
    if (!QDir().mkpath(mount))
        return InstallFailure(SystemError{QStringLiteral("cannot create %1").arg(mount)});
    const QString sevenZip = QStandardPaths::findExecutable(QStringLiteral("7zz"));
    if (sevenZip.isEmpty() ||
        !ToolRunner::run(sevenZip, {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + mount,
                                    QStringLiteral("--"), archive})) {
        FileTree::remove(mount);
        return extractFailure;
    }
    // From here on the unpacked image goes away before anything else happens.
    const std::optional<QString> mounted = appBundle(mount);
    bool copied = false;
    if (mounted)
        copied = FileTree::copy(*mounted, destination + u'/' + QFileInfo(*mounted).fileName());
    FileTree::remove(mount);
    if (!mounted)
        return noApp;
    if (!copied)
        return extractFailure;
    const std::optional<QString> app = appBundle(destination);
    return app ? Expected<QString, InstallFailure>(*app) : noApp;
}

} // namespace ArchiveExtractor
