#pragma once

#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>
#include <QtGlobal>

// How much an archive may unpack to.
struct UnpackLimits
{
    // Far above any app bundle a maker ships (the largest run to a few GiB), far below what
    // fills a disk: an archive announcing more is refused unread.
    static constexpr qint64 defaultMaximumBytes = qint64(4) << 30;
    // Left free on the work folder's file system once everything is written, so that the
    // machine does not run full because of an install.
    static constexpr qint64 defaultReserveBytes = qint64(64) << 20;
    // What each file or folder may take beyond its bytes: the rest of its last block.
    static constexpr qint64 blockBytes = 4096;

    qint64 maximumBytes = defaultMaximumBytes;
    qint64 reserveBytes = defaultReserveBytes;
};

// What an archive says it unpacks to, read before any of it is written.
struct UnpackSize
{
    qint64 bytes = 0;
    qint64 entries = 0;

    void countEntry() { ++entries; }
    // Saturating, so that a hostile listing cannot wrap the total around.
    void countBytes(qint64 entryBytes);
};

// The bytes an archive announced, checked before anything is written (against the limit and
// the free space of the destination's file system) and counted while it is written (headers
// can lie). The unpacked bundle is written once, in the install's work folder: leaving a
// disk image it is renamed, and the placement renames it again when the Applications folder
// shares that file system (a copy elsewhere needs room there, not here).
class UnpackBudget
{
public:
    // Refuses (Extract) an archive announcing more than the limit, and (FileSystem) one whose
    // announced bytes, a block per entry and the reserve do not fit where it is unpacked.
    static Expected<UnpackBudget, InstallFailure> admit(const UnpackLimits &limits, const UnpackSize &announced,
                                                        const QString &destination);

    // Counts bytes written; false once the total passes what the archive announced.
    bool spend(qint64 bytes);
    // Whether a tree of this many bytes stays within what the archive announced.
    bool covers(qint64 bytes) const { return bytes <= m_announced; }
    // The failure once the archive wrote more than it announced.
    InstallFailure overrun() const;

private:
    explicit UnpackBudget(qint64 announced) : m_announced(announced) {}

    qint64 m_announced;
    qint64 m_written = 0;
};
