#include "install/archiveextractor.h"

#include "install/diskimage.h"
#include "install/toolrunner.h"
#include "install/unpackedlinks.h"
#include "install/unpackedtree.h"
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

enum class Copied { Whole, Failed, Overrun };

Copied copyData(archive *reader, archive *writer, UnpackBudget &budget)
{
    const void *buffer = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = archive_read_data_block(reader, &buffer, &size, &offset);
        if (status == ARCHIVE_EOF)
            return Copied::Whole;
        if (status != ARCHIVE_OK)
            return Copied::Failed;
        if (!budget.spend(qint64(size)))
            return Copied::Overrun;
        if (archive_write_data_block(writer, buffer, size, offset) != ARCHIVE_OK)
            return Copied::Failed;
    }
}

Expected<Reader, InstallFailure> openZip(const QString &archivePath)
{
    Reader reader(archive_read_new(), &archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(), 1 << 16) != ARCHIVE_OK)
        return cannotExtract(
            QStringLiteral("cannot open %1 as a zip file: %2").arg(archivePath, reasonOf(reader.get())));
    return reader;
}

// The zip's own account of what it unpacks to: a pass over the headers alone, whose sizes
// libarchive's seeking reader takes from the central directory.
Expected<UnpackSize, InstallFailure> announcedZipSize(const QString &archivePath)
{
    Expected<Reader, InstallFailure> reader = openZip(archivePath);
    if (!reader)
        return std::move(reader).error();
    UnpackSize size;
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.value().get(), &entry);
        if (status == ARCHIVE_EOF)
            return size;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return cannotExtract(QStringLiteral("cannot read the zip file: %1").arg(reasonOf(reader.value().get())));
        if (archive_entry_filetype(entry) == AE_IFREG && !archive_entry_size_is_set(entry))
            return cannotExtract(QStringLiteral("the zip file does not say how large \"%1\" is")
                                     .arg(QString::fromUtf8(archive_entry_pathname(entry))));
        size.countEntry();
        size.countBytes(archive_entry_size(entry));
    }
}

// Names at the top of an unpacked volume that the volume keeps for itself, not for its user.
bool isVolumeFurniture(const QFileInfo &entry)
{
    static const QStringList names{
        QStringLiteral(".DS_Store"),
        QStringLiteral(".Trashes"),
        QStringLiteral(".fseventsd"),
        QStringLiteral(".Spotlight-V100"),
        QStringLiteral(".TemporaryItems"),
        QStringLiteral(".DocumentRevisions-V100"),
        QStringLiteral(".background"),
        QStringLiteral(".VolumeIcon.icns"),
        QStringLiteral(".journal"),
        QStringLiteral(".journal_info_block"),
        QStringLiteral("[HFS+ Private Data]"),
        QStringLiteral(".HFS+ Private Directory Data\r"),
        QStringLiteral(".HFS+ Private Directory Data"),
    };
    return names.contains(entry.fileName()) || (entry.fileName() == QLatin1String("Applications") && entry.isSymLink());
}

Expected<Unit, InstallFailure> restrictPermissions(const QString &folder)
{
    if (!UnpackedTree::restrictPermissions(folder))
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("cannot change the permissions in %1").arg(folder));
    return Unit();
}

} // namespace

QString volumeRoot(const QString &unpacked)
{
    QFileInfoList entries =
        QDir(unpacked).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.removeIf(isVolumeFurniture);
    if (entries.size() == 1 && entries.first().isDir() && !entries.first().isSymLink() &&
        !entries.first().fileName().endsWith(QLatin1String(".app")))
        return entries.first().filePath();
    return unpacked;
}

QStringList appBundles(const QString &folder)
{
    QStringList bundles;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &entry : entries) {
        if (entry.endsWith(QLatin1String(".app")) && entry.size() > 4)
            bundles.append(QDir(folder).filePath(entry));
    }
    return bundles;
}

QStringList volumeAppBundles(const QString &unpacked)
{
    return appBundles(volumeRoot(unpacked));
}

Expected<Unit, InstallFailure> unpackDiskImage(const QString &image, const QString &mount, const UnpackLimits &limits)
{
    if (!QDir().mkpath(mount))
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("cannot create %1").arg(mount));
    if (!DiskImage::isDiskImage(image))
        return cannotExtract(QStringLiteral("%1 is not a disk image").arg(QFileInfo(image).fileName()));
    const QString sevenZip = QStandardPaths::findExecutable(QStringLiteral("7zz"));
    if (sevenZip.isEmpty())
        return cannotExtract(QStringLiteral("7zz, which unpacks disk images, is not installed"));
    const std::optional<UnpackSize> announced = DiskImage::announcedSize(sevenZip, image);
    if (!announced)
        return cannotExtract(QStringLiteral("7zz could not open the disk image"));
    const Expected<UnpackBudget, InstallFailure> budget = UnpackBudget::admit(limits, *announced, mount);
    if (!budget)
        return budget.error();
    // The tool's output is measured as it grows: an image whose files hold more than its
    // listing said is stopped there.
    const auto withinBudget = [&budget, &mount] { return budget.value().covers(UnpackedTree::fileBytes(mount)); };
    // "-sns-": extended attributes and resource forks would come out as files of their own.
    if (!ToolRunner::run(sevenZip,
                         {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-sns-"),
                          QStringLiteral("-o") + mount, QStringLiteral("--"), image},
                         withinBudget))
        return withinBudget() ? cannotExtract(QStringLiteral("7zz could not unpack the disk image"))
                              : budget.value().overrun();
    return Unit();
}

Expected<Unit, InstallFailure> extractZip(const QString &archivePath, const QString &destination,
                                          const UnpackLimits &limits)
{
    const Expected<UnpackSize, InstallFailure> announced = announcedZipSize(archivePath);
    if (!announced)
        return announced.error();
    Expected<UnpackBudget, InstallFailure> budget = UnpackBudget::admit(limits, announced.value(), destination);
    if (!budget)
        return budget.error();
    Expected<Reader, InstallFailure> opened = openZip(archivePath);
    if (!opened)
        return std::move(opened).error();
    const Reader reader = std::move(opened).value();
    Writer writer(archive_write_disk_new(), &archive_write_free);
    // The entry names are checked here (they are rewritten as absolute paths below the
    // destination); libarchive refuses to write through links and ".." on top of that.
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_TIME |
                                                     ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                     ARCHIVE_EXTRACT_UNLINK);
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
        archive_entry_set_perm(entry, archive_entry_perm(entry) & UnpackedTree::keptPermissions);
        archive_entry_set_pathname(entry, QFile::encodeName(root + name).constData());
        if (archive_write_header(writer.get(), entry) != ARCHIVE_OK)
            return cannotExtract(QStringLiteral("cannot write \"%1\": %2").arg(name, reasonOf(writer.get())));
        // The data is read whatever the header says its size is: a lying header is caught
        // by the count, not trusted.
        switch (copyData(reader.get(), writer.get(), budget.value())) {
        case Copied::Whole:
            break;
        case Copied::Overrun:
            return budget.value().overrun();
        case Copied::Failed:
            return cannotExtract(QStringLiteral("cannot write \"%1\": %2").arg(name, reasonOf(writer.get())));
        }
        if (archive_write_finish_entry(writer.get()) != ARCHIVE_OK)
            return cannotExtract(QStringLiteral("cannot write \"%1\": %2").arg(name, reasonOf(writer.get())));
    }
}

Expected<QStringList, InstallFailure> extract(const QString &archive, const QString &destination,
                                              const UnpackLimits &limits)
{
    using Result = Expected<QStringList, InstallFailure>;
    if (!QDir().mkpath(destination))
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("cannot create %1").arg(destination));
    const QString type = QFileInfo(archive).suffix().toLower();
    auto foundApps = [](const QString &folder) -> Result {
        const QStringList apps = appBundles(folder);
        if (apps.isEmpty())
            return InstallFailure::of(Kind::NoAppInArchive, QStringLiteral("no app bundle at the top of the archive"));
        // Links can be chained so that each looks harmless alone: checked once all are written.
        if (Expected<Unit, InstallFailure> links = UnpackedLinks::check(folder); !links)
            return std::move(links).error();
        return apps;
    };
    if (type == QLatin1String("zip")) {
        if (Expected<Unit, InstallFailure> unpacked = extractZip(archive, destination, limits); !unpacked)
            return std::move(unpacked).error();
        // Folders the zip does not list are made with the umask's modes.
        if (Expected<Unit, InstallFailure> restricted = restrictPermissions(destination); !restricted)
            return std::move(restricted).error();
        return foundApps(destination);
    }
    if (type != QLatin1String("dmg"))
        return cannotExtract(QStringLiteral("archives of type \"%1\" are not unpacked").arg(type));

    const QString mount = QFileInfo(destination).absolutePath() + QStringLiteral("/mount");
    // From here on the unpacked image goes away before anything else happens.
    const Expected<Unit, InstallFailure> moved = [&]() -> Expected<Unit, InstallFailure> {
        if (Expected<Unit, InstallFailure> unpacked = unpackDiskImage(archive, mount, limits); !unpacked)
            return std::move(unpacked).error();
        // Every candidate comes out: which one is the app to install is not the image's to say.
        for (const QString &app : volumeAppBundles(mount)) {
            // Renamed, not copied, out of the image: a bundle never takes its room twice.
            const QString target = destination + u'/' + QFileInfo(app).fileName();
            if (!FileTree::rename(app, target))
                return cannotExtract(
                    QStringLiteral("cannot move %1 out of the disk image").arg(QFileInfo(app).fileName()));
            if (Expected<Unit, InstallFailure> restricted = restrictPermissions(target); !restricted)
                return std::move(restricted).error();
        }
        return Unit();
    }();
    FileTree::remove(mount);
    if (!moved)
        return moved.error();
    return foundApps(destination);
}

} // namespace ArchiveExtractor
