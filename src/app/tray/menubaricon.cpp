#include "app/tray/menubaricon.h"

#include "shell/storetheme.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace MenuBarIcon {
namespace {

QColor accent()
{
    for (const StoreTheme::ColorToken &token : StoreTheme::colorTokens()) {
        if (token.name == QLatin1String("accent"))
            return QColor(QRgb(token.light));
    }
    return Qt::darkMagenta;
}

// An 18-unit design: the square inset by 1.5, corners of 4.5, the monogram in heavy mono type.
QPixmap drawn(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 18.0, size / 18.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent());
    painter.drawRoundedRect(QRectF(1.5, 1.5, 15, 15), 4.5, 4.5);
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(10);
    font.setWeight(QFont::Black);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, 18, 18), Qt::AlignCenter, QStringLiteral("or"));
    return pixmap;
}

} // namespace

QIcon icon()
{
    QIcon fallback;
    for (const int size : {16, 22, 24, 32, 48, 64})
        fallback.addPixmap(drawn(size));
    return QIcon::fromTheme(symbolicName, fallback);
}

QByteArray symbolicSvg()
{
    QFile file(QStringLiteral(":/tessel-store/tessel-store-symbolic.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace MenuBarIcon
