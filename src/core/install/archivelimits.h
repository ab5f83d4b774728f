#pragma once

#include "net/transferlimits.h"

#include <optional>

// The limits of an archive download. No deadline: a large archive on a slow line may take
// long, so what ends a transfer is a trickle, or more bytes than the archive can have.
struct ArchiveLimits
{
    qint64 maximumBytes = 0; // any archive, whatever its feed declares
    TransferLimits::MinimumRate minimumRate;

    // 4 GiB, and 1 KiB/s over 30 s.
    static ArchiveLimits standard();

    // For an enclosure that declares its length: that length with a little slack (the larger
    // of 64 KiB and 1 %), within maximumBytes.
    TransferLimits forLength(std::optional<qint64> declaredLength) const;

    bool operator==(const ArchiveLimits &) const = default;
};
