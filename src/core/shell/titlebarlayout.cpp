#include "shell/titlebarlayout.h"

#include "platform/userdefaults.h"

#include <algorithm>
#include <cmath>

namespace TitlebarLayout {

std::optional<QRectF> containerFrame(const QRectF &current, qreal superviewHeight)
{
    const QRectF target(current.x(), superviewHeight - barHeight, current.width(), barHeight);
    if (std::abs(current.height() - barHeight) <= 0.5 && std::abs(current.y() - target.y()) <= 0.5)
        return std::nullopt;
    return target;
}

QList<QPointF> lightOrigins(const QList<QRectF> &frames, qreal barWidth, bool rightToLeft)
{
    if (frames.isEmpty())
        return {};
    qreal minX = frames.first().left();
    qreal maxX = frames.first().right();
    for (const QRectF &frame : frames) {
        minX = std::min(minX, frame.left());
        maxX = std::max(maxX, frame.right());
    }
    const qreal shift = rightToLeft ? barWidth - lightsLeading - maxX : lightsLeading - minX;
    QList<QPointF> origins;
    origins.reserve(frames.size());
    // std::round rounds halves away from zero.
    for (const QRectF &frame : frames)
        origins.append(QPointF(std::round(frame.left() + shift), std::round((barHeight - frame.height()) / 2)));
    return origins;
}

} // namespace TitlebarLayout

namespace TitleBarActions {

TitleBarAction from(const std::optional<QString> &setting)
{
    if (setting == QLatin1String("Minimize"))
        return TitleBarAction::Minimize;
    if (setting == QLatin1String("None"))
        return TitleBarAction::None;
    return TitleBarAction::Zoom;
}

TitleBarAction current(const UserDefaults &defaults, TitleBarAction desktopAction)
{
    const std::optional<QString> stored = defaults.string(QStringLiteral("AppleActionOnDoubleClick"));
    return stored ? from(stored) : desktopAction;
}

} // namespace TitleBarActions
