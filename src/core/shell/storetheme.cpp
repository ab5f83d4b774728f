#include "shell/storetheme.h"

#include <algorithm>

namespace StoreTheme {

const QList<ColorToken> &colorTokens()
{
    static const QList<ColorToken> tokens{
        {QStringLiteral("page"), 0xF6F5F2, 1, 0x0D0C11, 1},
        {QStringLiteral("panel"), 0xFFFFFF, 1, 0x17151D, 1},
        {QStringLiteral("panelEdge"), 0xE3E0DA, 1, 0xFFFFFF, 0.08},
        {QStringLiteral("line"), 0xE9E6E0, 1, 0xFFFFFF, 0.07},
        {QStringLiteral("ink"), 0x16131C, 1, 0xF6F4FA, 1},
        {QStringLiteral("dim"), 0x5E5868, 1, 0xB3ADBD, 1},
        {QStringLiteral("faint"), 0x16131C, 0.36, 0xF6F4FA, 0.38},
        {QStringLiteral("control"), 0xFFFFFF, 1, 0xFFFFFF, 0.06},
        {QStringLiteral("controlHover"), 0xFAF9F6, 1, 0xFFFFFF, 0.1},
        {QStringLiteral("well"), 0xEFEDE8, 1, 0xFFFFFF, 0.06},
        {QStringLiteral("badgeFill"), 0xF1EFEA, 1, 0xFFFFFF, 0.08},
        {QStringLiteral("accent"), 0x6D28D9, 1, 0x9B74F5, 1},
        {QStringLiteral("accentSoft"), 0xF1ECFB, 1, 0x9B74F5, 0.16},
        {QStringLiteral("warning"), 0xD0651A, 1, 0xFB923C, 1},
        {QStringLiteral("accentTop"), 0x6D28D9, 1, 0x9B74F5, 1},
        {QStringLiteral("onAccent"), 0xFFFFFF, 1, 0xFFFFFF, 1},
        {QStringLiteral("bannerInk"), 0x0B0A0E, 1, 0x0B0A0E, 1},
        {QStringLiteral("bannerGlow"), 0x2A1650, 1, 0x2A1650, 1},
        {QStringLiteral("shadowColor"), 0x000000, 0, 0x000000, 0},
    };
    return tokens;
}

double scale(double windowWidth)
{
    return std::clamp((windowWidth - 240) / 940, 1.0, 1.4);
}

double titleScale(double scale)
{
    return (scale - 1) * 0.6 + 1;
}

double sidebarWidth(double scale)
{
    return (scale - 1) * 60 + 232;
}

} // namespace StoreTheme
