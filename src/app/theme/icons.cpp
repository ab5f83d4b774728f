#include "app/theme/icons.h"

#include <QHash>

namespace Icons {
namespace {

struct Icon
{
    QString ligature;
    bool mirrors = false;
};

const QHash<QString, Icon> &table()
{
    static const QHash<QString, Icon> icons{
        {QStringLiteral("sparkles"), {QStringLiteral("auto_awesome")}},
        {QStringLiteral("square.grid.2x2"), {QStringLiteral("grid_view")}},
        {QStringLiteral("arrow.down.circle"), {QStringLiteral("arrow_circle_down")}},
        {QStringLiteral("person.crop.circle"), {QStringLiteral("account_circle")}},
        {QStringLiteral("magnifyingglass"), {QStringLiteral("search")}},
        {QStringLiteral("xmark"), {QStringLiteral("close")}},
        {QStringLiteral("wifi.slash"), {QStringLiteral("wifi_off")}},
        {QStringLiteral("square.and.arrow.up"), {QStringLiteral("share")}},
        {QStringLiteral("safari"), {QStringLiteral("public")}},
        {QStringLiteral("chevron.left"), {QStringLiteral("chevron_left"), true}},
        {QStringLiteral("chevron.right"), {QStringLiteral("chevron_right"), true}},
        {QStringLiteral("arrow.down"), {QStringLiteral("arrow_downward")}},
        {QStringLiteral("arrow.clockwise"), {QStringLiteral("refresh")}},
        {QStringLiteral("checkmark"), {QStringLiteral("check")}},
        // The window's own buttons.
        {QStringLiteral("window.close"), {QStringLiteral("close")}},
        {QStringLiteral("window.minimize"), {QStringLiteral("remove")}},
        {QStringLiteral("window.zoom"), {QStringLiteral("crop_square")}},
        {QStringLiteral("window.restore"), {QStringLiteral("filter_none")}},
    };
    return icons;
}

} // namespace

QString glyph(const QString &symbol)
{
    return table().value(symbol).ligature;
}

bool mirrors(const QString &symbol)
{
    return table().value(symbol).mirrors;
}

} // namespace Icons
