#include "app/theme/storepalette.h"

#include "shell/storetheme.h"

#include <QColor>

namespace {

QColor colorOf(quint32 rgb, double opacity)
{
    QColor color(QRgb(rgb | 0xFF000000u));
    color.setAlphaF(float(opacity));
    return color;
}

} // namespace

StorePalette::StorePalette(QObject *parent) : QQmlPropertyMap(this, parent)
{
    resolve();
}

void StorePalette::setDark(bool dark)
{
    if (m_dark == dark)
        return;
    m_dark = dark;
    resolve();
    Q_EMIT darkChanged();
}

void StorePalette::resolve()
{
    for (const StoreTheme::ColorToken &token : StoreTheme::colorTokens())
        insert(token.name, m_dark ? colorOf(token.dark, token.darkOpacity) : colorOf(token.light, token.lightOpacity));
}
