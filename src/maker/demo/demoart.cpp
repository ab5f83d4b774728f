#include "maker/demo/demoart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace DemoArt {

QImage icon(const QColor &first, const QColor &second, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size, size);
    background.setColorAt(0, first);
    background.setColorAt(1, first.darker(160));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(size * 0.05, size * 0.05, size * 0.9, size * 0.9), size * 0.2, size * 0.2);
    painter.fillPath(tile, background);
    QRadialGradient glow(size * 0.5, size * 0.45, size * 0.3);
    glow.setColorAt(0, second);
    glow.setColorAt(1, second.darker(130));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(size * 0.5, size * 0.45), size * 0.25, size * 0.25);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(QRectF(size * 0.28, size * 0.74, size * 0.44, size * 0.06), size * 0.03, size * 0.03);
    return image;
}

QImage screenshot(const QColor &first, const QColor &second, QSize size, int variant)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QLinearGradient background(0, 0, 0, h);
    background.setColorAt(0, QColor(0xF6, 0xF5, 0xF2));
    background.setColorAt(1, QColor(0xE9, 0xE6, 0xE0));
    painter.fillRect(image.rect(), background);
    // A window's sidebar, toolbar and content cards, in the app's colours.
    painter.fillRect(QRectF(0, 0, w * 0.2, h), first);
    painter.fillRect(QRectF(w * 0.2, 0, w * 0.8, h * 0.08), first.lighter(150));
    painter.setPen(Qt::NoPen);
    const int columns = 3 + variant % 2;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRectF card(w * 0.23 + column * w * 0.75 / columns, h * 0.12 + row * h * 0.29, w * 0.7 / columns,
                              h * 0.25);
            painter.setBrush(QColor(255, 255, 255));
            painter.drawRoundedRect(card, h * 0.02, h * 0.02);
            painter.setBrush((row + column + variant) % 2 ? second : first.lighter(130));
            painter.drawEllipse(card.center(), card.height() * 0.25, card.height() * 0.25);
        }
    }
    return image;
}

} // namespace DemoArt
