#include "app/images/cachedimage.h"

#include "app/images/imageloader.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QQuickWindow>

CachedImage::CachedImage(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void CachedImage::setSource(const QUrl &source)
{
    if (m_source == source)
        return;
    m_source = source;
    Q_EMIT sourceChanged();
    reload();
}

void CachedImage::setMaxPixels(int maxPixels)
{
    if (m_maxPixels == maxPixels)
        return;
    m_maxPixels = maxPixels;
    Q_EMIT maxPixelsChanged();
    reload();
}

void CachedImage::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    Q_EMIT radiusChanged();
    update();
}

void CachedImage::setFill(bool fill)
{
    if (m_fill == fill)
        return;
    m_fill = fill;
    Q_EMIT fillChanged();
    update();
}

void CachedImage::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    reload();
}

void CachedImage::reload()
{
    // QML sets source and bound one after the other: only their final pair is loaded.
    if (!isComponentComplete())
        return;
    ++m_request;
    ImageLoader *loader = ImageLoader::provided();
    if (m_source.isEmpty() || !loader) {
        show(QImage(), Failed);
        return;
    }
    if (std::optional<QImage> image = loader->cached(m_source, m_maxPixels)) {
        show(*image, Ready);
        return;
    }
    show(QImage(), Loading);
    load(m_source, m_maxPixels, m_request);
}

QCoro::Task<> CachedImage::load(QUrl source, int maxPixels, quint64 request)
{
    QPointer<CachedImage> self(this);
    QCoro::Task<QImage> loading =
        ImageLoader::provided()->image(source, maxPixels, ImageLoader::Priority::UserInitiated);
    const QImage image = co_await loading;
    if (!self || request != m_request)
        co_return;
    show(image, image.isNull() ? Failed : Ready);
}

void CachedImage::show(QImage image, Status status)
{
    const QSize oldSize = m_image.size();
    m_image = std::move(image);
    m_scaled = QImage();
    if (m_status != status) {
        m_status = status;
        Q_EMIT statusChanged();
    }
    if (m_image.size() != oldSize)
        Q_EMIT imageSizeChanged();
    update();
}

QRectF CachedImage::imageRect() const
{
    const QRectF bounds = boundingRect();
    if (m_fill)
        return bounds;
    QRectF fitted(QPointF(), QSizeF(m_image.size()).scaled(bounds.size(), Qt::KeepAspectRatio));
    fitted.moveCenter(bounds.center());
    return fitted;
}

void CachedImage::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    const QRectF target = imageRect();
    const qreal pixelRatio = window() ? window()->effectiveDevicePixelRatio() : 1;
    const QSize pixels = (target.size() * pixelRatio).toSize();
    if (pixels.isEmpty())
        return;
    // Scaled once per size with area averaging: a 1600-pixel shot drawn small stays sharp and
    // free of the aliasing of a bilinear draw.
    if (m_scaled.size() != pixels)
        m_scaled = m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (m_radius <= 0) {
        painter->drawImage(target, m_scaled);
        return;
    }
    // Filling a rounded path with the image gives anti-aliased corners; a clip would not.
    QBrush brush(m_scaled);
    brush.setTransform(QTransform::fromTranslate(target.x(), target.y()).scale(1 / pixelRatio, 1 / pixelRatio));
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush);
    painter->drawRoundedRect(target, m_radius, m_radius);
}
