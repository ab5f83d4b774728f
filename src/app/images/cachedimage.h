#pragma once

#include <QImage>
#include <QQmlEngine>
#include <QQuickPaintedItem>
#include <QUrl>
#include <qcorotask.h>

// A remote image through the provided ImageLoader. An image memory holds already is there
// before the first frame; otherwise the item is Loading until the load ends, and Failed when it
// gave nothing, so that the view around it shows its placeholder.
class CachedImage : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(int maxPixels READ maxPixels WRITE setMaxPixels NOTIFY maxPixelsChanged)
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)
    Q_PROPERTY(QSize imageSize READ imageSize NOTIFY imageSizeChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    Q_PROPERTY(bool fill READ fill WRITE setFill NOTIFY fillChanged)

public:
    enum Status { Loading, Ready, Failed };
    Q_ENUM(Status)

    explicit CachedImage(QQuickItem *parent = nullptr);

    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    int maxPixels() const { return m_maxPixels; }
    void setMaxPixels(int maxPixels);
    Status status() const { return m_status; }
    QSize imageSize() const { return m_image.size(); } // of the decoded image; empty without one
    qreal radius() const { return m_radius; }          // of the rounded corners of the drawn image
    void setRadius(qreal radius);
    bool fill() const { return m_fill; } // stretched over the item, else fitted inside it, centred
    void setFill(bool fill);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void sourceChanged();
    void maxPixelsChanged();
    void statusChanged();
    void imageSizeChanged();
    void radiusChanged();
    void fillChanged();

protected:
    void componentComplete() override;

private:
    // Looks the image up again for the current source and bound.
    void reload();
    QCoro::Task<> load(QUrl source, int maxPixels, quint64 request);
    void show(QImage image, Status status);
    QRectF imageRect() const;

    QUrl m_source;
    int m_maxPixels = 512;
    Status m_status = Failed;
    qreal m_radius = 0;
    bool m_fill = false;
    QImage m_image;
    QImage m_scaled;       // m_image at the size last drawn, scaled smoothly once
    quint64 m_request = 0; // the reload a finishing load must belong to
};
