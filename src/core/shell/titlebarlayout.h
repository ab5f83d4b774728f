#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>

class UserDefaults;

// The window's title-bar band and where its three window buttons sit in it. Coordinates
// have their origin at the bottom left, as the window system lays out title bars.
namespace TitlebarLayout {

constexpr qreal barHeight = 50;
constexpr qreal lightsLeading = 26;

// The frame to give the title-bar view (the band at the top of its container), or nothing
// when the present one is within half a point of it.
std::optional<QRectF> containerFrame(const QRectF &current, qreal superviewHeight);

// New origins for the buttons, in their order: the group moves as one to lightsLeading from
// the leading edge (the right one in right-to-left layouts), centred in the band, each
// coordinate rounded to a whole point, halves away from zero.
QList<QPointF> lightOrigins(const QList<QRectF> &frames, qreal barWidth, bool rightToLeft);

} // namespace TitlebarLayout

// What a double-click on the title bar does, as the user's setting says.
enum class TitleBarAction { Zoom, Minimize, None };

namespace TitleBarActions {

// "Minimize" and "None" exactly; anything else, or nothing, zooms.
TitleBarAction from(const std::optional<QString> &setting);

// The user's choice under "AppleActionOnDoubleClick", read afresh at every call; with
// nothing stored there, the desktop's own choice.
TitleBarAction current(const UserDefaults &defaults, TitleBarAction desktopAction = TitleBarAction::Zoom);

} // namespace TitleBarActions
