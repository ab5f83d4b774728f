#pragma once

#include <QElapsedTimer>

#include <algorithm>

// The fastest of a few rounds, in milliseconds: the least disturbed measurement.
template<typename Work> double bestMilliseconds(int rounds, Work work)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}
