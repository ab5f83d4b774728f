#pragma once

// The pixel bounds pictures are decoded to. Few bounds, so that views of about the same size
// share one decoded image, and the prefetch decodes what the many small views will ask for.
namespace ImageBounds {

// Cards' and rows' icons (64 points, a little more on wide windows) at the usual density.
constexpr int smallIcon = 128;
// Any larger icon: the largest, the carousel's 152 points, at about twice the density.
constexpr int largeIcon = 256;
constexpr int screenshot = 1600;

// The bound for an icon drawn this many device pixels wide.
constexpr int icon(double pixels)
{
    return pixels <= smallIcon ? smallIcon : largeIcon;
}

// The icon size of a card, in points, at the window's smallest scale.
constexpr double cardIconPoints = 64;

} // namespace ImageBounds
