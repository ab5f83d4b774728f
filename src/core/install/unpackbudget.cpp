#include "install/unpackbudget.h"

#include "install/installlog.h"

#include <QFile>

#include <limits>

#include <sys/statvfs.h>

namespace {

std::optional<qint64> freeBytes(const QString &folder)
{
    struct statvfs status;
    if (::statvfs(QFile::encodeName(folder).constData(), &status) != 0)
        return std::nullopt;
    return qint64(status.f_bavail) * qint64(status.f_frsize);
}

} // namespace

void UnpackSize::countBytes(qint64 entryBytes)
{
    const qint64 counted = qMax<qint64>(entryBytes, 0);
    bytes = counted > std::numeric_limits<qint64>::max() - bytes ? std::numeric_limits<qint64>::max() : bytes + counted;
}

Expected<UnpackBudget, InstallFailure> UnpackBudget::admit(const UnpackLimits &limits, const UnpackSize &announced,
                                                           const QString &destination)
{
    const qint64 announcedBytes = announced.bytes;
    using Kind = InstallFailure::Kind;
    if (announcedBytes > limits.maximumBytes)
        return InstallFailure::of(Kind::Extract, QStringLiteral("the archive unpacks to %1 bytes, more than the %2 "
                                                                "allowed")
                                                     .arg(announcedBytes)
                                                     .arg(limits.maximumBytes));
    const std::optional<qint64> available = freeBytes(destination);
    if (!available)
        return InstallFailure::of(Kind::FileSystem,
                                  QStringLiteral("cannot tell the free space of %1").arg(destination));
    const qint64 needed = announcedBytes + announced.entries * UnpackLimits::blockBytes + limits.reserveBytes;
    if (needed > *available)
        return InstallFailure::of(Kind::FileSystem, QStringLiteral("unpacking needs %1 bytes on the file system of %2, "
                                                                   "which has %3 free")
                                                        .arg(needed)
                                                        .arg(destination)
                                                        .arg(*available));
    qCDebug(lcInstall) << "unpacking" << announcedBytes << "bytes in" << announced.entries << "entries into"
                       << destination;
    return UnpackBudget(announcedBytes);
}

bool UnpackBudget::spend(qint64 bytes)
{
    m_written += bytes;
    return covers(m_written);
}

InstallFailure UnpackBudget::overrun() const
{
    return InstallFailure::of(InstallFailure::Kind::Extract,
                              QStringLiteral("the archive wrote more than the %1 bytes it announced").arg(m_announced));
}
