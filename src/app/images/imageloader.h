#pragma once

#include "app/theme/providedsingleton.h"
#include "catalog/catalog.h"
#include "net/imagediskcache.h"

#include <QCache>
#include <QFuture>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>
#include <memory>
#include <optional>
#include <qcorotask.h>

class QNetworkAccessManager;

// Every remote picture of the store (icons, screenshots) as an image within a pixel bound:
// from memory, else from the disk cache, else from the network, decoded off the main thread.
// Lives on the main thread; the composition root makes the one the window uses.
class ImageLoader : public QObject, public ProvidedSingleton<ImageLoader>
{
    Q_OBJECT

public:
    // Loads for what is on screen decode before prefetched ones.
    enum class Priority { UserInitiated, Background };

    // The session is the loader's alone: an ImageSession in the program.
    ImageLoader(ImageDiskCache disk, std::unique_ptr<QNetworkAccessManager> session, QObject *parent = nullptr);
    ~ImageLoader() override;

    // The image with its longer edge at most maxPixels, or a null image when there is none.
    // Requests for the same address and bound at the same time share one load, which runs to
    // its end and fills both caches even when no one waits for it any more.
    QCoro::Task<QImage> image(QUrl url, int maxPixels, Priority priority);

    // The image if memory holds it, at once and without any I/O.
    std::optional<QImage> cached(const QUrl &url, int maxPixels);

    // Warms the caches, one image after the other in the background: every app's icon (at the
    // bound of the many small views), then
    // every app's screenshots, decoded into memory up to a bound and only fetched to the disk
    // cache after it. Returns at once; a newer prefetch takes over from a running one.
    void prefetch(QList<CatalogApp> apps);

    // The bytes as an upright image (the EXIF orientation applied), downsampled while decoding
    // so that its longer edge is at most maxPixels, never enlarged. Null when they are no image.
    static QImage decode(QByteArray bytes, int maxPixels);

private:
    QFuture<QImage> startLoad(const QUrl &url, int maxPixels, Priority priority);
    QCoro::Task<> load(QUrl url, int maxPixels, Priority priority, std::shared_ptr<QPromise<QImage>> promise);
    QCoro::Task<> prefetchInOrder(QList<CatalogApp> apps, quint64 generation);
    QCoro::Task<> keepOnDisk(QUrl url);

    ImageDiskCache m_disk;
    std::unique_ptr<QNetworkAccessManager> m_session;
    QThreadPool m_decoders;
    QCache<QString, QImage> m_memory;
    QHash<QString, QFuture<QImage>> m_loads; // in flight, by memory key
    quint64 m_prefetchGeneration = 0;
};
