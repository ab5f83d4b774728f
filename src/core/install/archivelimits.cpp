#include "install/archivelimits.h"

#include <algorithm>

namespace {

// The largest app archives published through update feeds (office and creative suites) stay
// under 2 GiB; twice that leaves room to grow and is also the most a plain zip can hold.
constexpr qint64 maximumArchiveBytes = qint64(4) * 1024 * 1024 * 1024;

// A feed's length is the maker's count of the file it publishes; the slack forgives a feed
// written just before a final repacking, not a body of another size.
constexpr qint64 minimumLengthSlack = 64 * 1024;
constexpr qint64 lengthSlackDivisor = 100;

// Under 1 KiB/s for half a minute, a 100 MB app would take more than a day: the line or the
// server is not delivering. The window is long enough that a passing stall does not count.
constexpr TransferLimits::MinimumRate minimumArchiveRate{30 * 1024, std::chrono::seconds(30)};

} // namespace

ArchiveLimits ArchiveLimits::standard()
{
    return {.maximumBytes = maximumArchiveBytes, .minimumRate = minimumArchiveRate};
}

TransferLimits ArchiveLimits::forLength(std::optional<qint64> declaredLength) const
{
    qint64 bytes = maximumBytes;
    if (declaredLength && *declaredLength >= 0 && *declaredLength < maximumBytes)
        bytes = std::min(maximumBytes,
                         *declaredLength + std::max(minimumLengthSlack, *declaredLength / lengthSlackDivisor));
    return {.maximumBytes = bytes, .deadline = std::nullopt, .minimumRate = minimumRate};
}
