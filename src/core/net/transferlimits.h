#pragma once

#include <QtGlobal>
#include <chrono>
#include <optional>

// What ends a transfer that a broken or hostile server would keep going: a body larger than
// the store takes, a transfer that does not end in time, or one that only trickles.
struct TransferLimits
{
    // Fewer than `bytes` in any `window` and the transfer is given up.
    struct MinimumRate
    {
        qint64 bytes = 0;
        std::chrono::milliseconds window{0};

        bool operator==(const MinimumRate &) const = default;
    };

    qint64 maximumBytes = 0;                           // body bytes taken at most
    std::optional<std::chrono::milliseconds> deadline; // for the whole transfer, from the request
    std::optional<MinimumRate> minimumRate;

    bool operator==(const TransferLimits &) const = default;
};
