#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// Pictures for the demo apps, drawn from two colours: no fonts, so the same colours always
// give the same pixels.
namespace DemoArt {

QImage icon(const QColor &first, const QColor &second, int size = 512);
QImage screenshot(const QColor &first, const QColor &second, QSize size, int variant);

} // namespace DemoArt
