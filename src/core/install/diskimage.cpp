#include "install/diskimage.h"

#include "install/toolrunner.h"

#include <QFile>
#include <QtEndian>

namespace DiskImage {
namespace {

constexpr qint64 udifTrailerBytes = 512;
constexpr quint32 udifVersion = 4;
constexpr qint64 isoIdentifierOffset = 0x8001;

bool hasUdifTrailer(QFile &file)
{
    if (file.size() < udifTrailerBytes || !file.seek(file.size() - udifTrailerBytes))
        return false;
    const QByteArray trailer = file.read(12);
    return trailer.size() == 12 && trailer.startsWith("koly") &&
           qFromBigEndian<quint32>(trailer.constData() + 4) == udifVersion &&
           qFromBigEndian<quint32>(trailer.constData() + 8) == udifTrailerBytes;
}

bool hasIsoIdentifier(QFile &file)
{
    return file.seek(isoIdentifierOffset) && file.read(5) == "CD001";
}

} // namespace

bool isDiskImage(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && (hasUdifTrailer(file) || hasIsoIdentifier(file));
}

std::optional<UnpackSize> announcedSize(const QString &sevenZip, const QString &image)
{
    // The technical listing describes the image and its partition first, then, after a line
    // of dashes, one record per entry with a "Path = " and, for files, a "Size = ".
    UnpackSize size;
    bool inEntries = false;
    const bool listed = ToolRunner::readLines(
        sevenZip, {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-sns-"), QStringLiteral("--"), image},
        [&size, &inEntries](QByteArrayView line) {
            if (!inEntries) {
                inEntries = line == "----------";
            } else if (line.startsWith("Path = ")) {
                size.countEntry();
            } else if (line.startsWith("Size = ")) {
                bool valid = false;
                const qint64 bytes = line.sliced(7).toByteArray().toLongLong(&valid);
                if (valid)
                    size.countBytes(bytes);
            }
            return true;
        });
    if (!listed || !inEntries)
        return std::nullopt;
    return size;
}

} // namespace DiskImage
