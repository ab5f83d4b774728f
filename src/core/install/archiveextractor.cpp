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

using Kind = InstallFailure::Kind;

InstallFailure cannotExtract(const QString &why)
{
    return InstallFailure::of(Kind::Extract, why);
}

// libarchive's own words for its last failure.
QString reasonOf(archive *handle)
{
    const char *text = archive_error_string(handle);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
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

Expected<Unit, InstallFailure> extractZip(const QString &archivePath, const QString &destination)
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
        return cannotExtract(
            QStringLiteral("cannot open %1 as a zip file: %2").arg(archivePath, reasonOf(reader.get())));
    const QString root = QDir::cleanPath(destination) + u'/';
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            return Unit();
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return cannotExtract(QStringLiteral("cannot read the zip file: %1").arg(reasonOf(reader.get())));
        const char *rawName = archive_entry_pathname(entry);
        const QString name = rawName ? QString::fromUtf8(rawName) : QString();
        if (name == QLatin1String("__MACOSX") || name.startsWith(QLatin1String("__MACOSX/")))
            continue;
        if (!isContained(name))
            return cannotExtract(QStringLiteral("the entry \"%1\" lies outside the destination").arg(name));
        const char *hardlink = archive_entry_hardlink(entry);
        if (hardlink) {
            const QString linked = QString::fromUtf8(hardlink);
            if (!isContained(linked))
                return cannotExtract(QStringLiteral("the entry \"%1\" links outside the destination").arg(name));
            archive_entry_set_hardlink(entry, QFile::encodeName(root + linked).constData());
        }
        if (archive_entry_filetype(entry) == AE_IFLNK) {
            const char *target = archive_entry_symlink(entry);
            if (!target || !linkIsContained(name, QString::fromUtf8(target)))
                return cannotExtract(QStringLiteral("the link \"%1\" leads outside the destination").arg(name));
        }
        const mode_t type = archive_entry_filetype(entry);
        if (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK)
            return cannotExtract(QStringLiteral("the entry \"%1\" is of an unsupported type").arg(name));
        // No set-id bits from a download.
        archive_entry_set_perm(entry, archive_entry_perm(entry) & 0777);
        archive_entry_set_pathname(entry, QFile::encodeName(root + name).constData());
        if (archive_write_header(writer.get(), entry) != ARCHIVE_OK ||
            (archive_entry_size(entry) > 0 && !copyData(reader.get(), writer.get())) ||
            archive_write_finish_entry(writer.get()) != ARCHIVE_OK)
            return cannotExtract(QStringLiteral("cannot write \"%1\": %2").arg(name, reasonOf(writer.get())));
    }
}

Expected<QString, InstallFailure> extract(const QString &archive, const QString &destination)
{
    using Result = Expected<QString, InstallFailure>;
    if (!QDir().mkpath(destination))
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("cannot create %1").arg(destination));
    const QString type = QFileInfo(archive).suffix().toLower();
    auto foundApp = [](const QString &folder) -> Result {
        if (const std::optional<QString> app = appBundle(folder))
            return *app;
        return InstallFailure::of(Kind::NoAppInArchive, QStringLiteral("no app bundle at the top of the archive"));
    };
    if (type == QLatin1String("zip")) {
        if (Expected<Unit, InstallFailure> unpacked = extractZip(archive, destination); !unpacked)
            return std::move(unpacked).error();
        return foundApp(destination);
    }
    if (type != QLatin1String("dmg"))
        return cannotExtract(QStringLiteral("archives of type \"%1\" are not unpacked").arg(type));

    const QString mount = QFileInfo(destination).absolutePath() + QStringLiteral("/mount");
    if (!QDir().mkpath(mount))
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("cannot create %1").arg(mount));
    const QString sevenZip = QStandardPaths::findExecutable(QStringLiteral("7zz"));
    if (sevenZip.isEmpty()) {
        FileTree::remove(mount);
        return cannotExtract(QStringLiteral("7zz, which unpacks disk images, is not installed"));
    }
    if (!ToolRunner::run(sevenZip, {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + mount,
                                    QStringLiteral("--"), archive})) {
        FileTree::remove(mount);
        return cannotExtract(QStringLiteral("7zz could not unpack the disk image"));
    }
    // From here on the unpacked image goes away before anything else happens.
    const std::optional<QString> mounted = appBundle(mount);
    bool copied = false;
    if (mounted)
        copied = FileTree::copy(*mounted, destination + u'/' + QFileInfo(*mounted).fileName());
    FileTree::remove(mount);
    if (!mounted)
        return InstallFailure::of(Kind::NoAppInArchive, QStringLiteral("no app bundle at the top of the disk image"));
    if (!copied)
        return cannotExtract(
            QStringLiteral("cannot copy %1 out of the disk image").arg(QFileInfo(*mounted).fileName()));
    return foundApp(destination);
}

} // namespace ArchiveExtractor
