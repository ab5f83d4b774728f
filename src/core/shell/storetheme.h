#pragma once

#include <QList>
#include <QString>

// The window's palette and scale, as data: QML and the tests read this one table.
namespace StoreTheme {

// A colour with a light and a dark sRGB value (0xRRGGBB) and an opacity for each.
struct ColorToken
{
    QString name;
    quint32 light;
    double lightOpacity;
    quint32 dark;
    double darkOpacity;
};

const QList<ColorToken> &colorTokens();

// The factor by which sizes grow on wide windows: 1.0 up to 1180 pt, linear, 1.4 from 1556 pt.
double scale(double windowWidth);

// The damped factor large titles use: ((s − 1) × 0.6 + 1).
double titleScale(double scale);

// The sidebar's width: (s − 1) × 60 + 232, so 232 pt at scale 1 and 256 pt at 1.4.
double sidebarWidth(double scale);

} // namespace StoreTheme
