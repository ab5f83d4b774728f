#pragma once

// The pixel bounds pictures are decoded to. Few bounds, so that views of about the same size
// share one decoded image, and the prefetch decodes what the many cards will ask for.
namespace ImageBounds {

constexpr int iconBounds[] = {128, 256, 512};
// A bound serves icons drawn up to this much larger than it, the window's largest scale: so
// a card's icon keeps one bound at every window width, slightly enlarged on wide windows.
constexpr double iconStretch = 1.4;
constexpr int screenshot = 1600;

// The bound for an icon drawn this many device pixels wide.
constexpr int icon(double pixels)
{
    for (const int bound : iconBounds) {
        if (pixels <= bound * iconStretch)
            return bound;
    }
    return iconBounds[2];
}

// The icon size of a card, in points, at the window's smallest scale.
constexpr double cardIconPoints = 64;

} // namespace ImageBounds
