#include "app/images/imageloader.h"

#include "app/images/imagebounds.h"
#include "app/images/imageslog.h"
#include "net/httpfetch.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QtConcurrent/qtconcurrenttask.h>
#include <qcorofuture.h>

namespace {

// The memory is nobody else's to reclaim, so it is bounded here, in decoded bytes: a 256-pixel
// icon takes 256 KiB and a 1600-pixel screenshot up to 10 MiB, so 256 MiB holds a catalog's icons
// and the screenshots of the pages last seen. What falls out decodes again from the disk cache
// in a few milliseconds, without the network.
constexpr qsizetype memoryLimitBytes = 256 * 1024 * 1024;

// What a prefetch decodes into memory before it only fills the disk cache: the icons of some
// 250 apps at the cards' size, or fewer and the first screenshots. A large catalog's screenshots would otherwise
// fill the memory, and push the icons on screen out of it, decoded for nothing; a screenshot
// decodes from the disk cache in a few tens of milliseconds when its page opens.
constexpr qsizetype prefetchMemoryBytes = 16 * 1024 * 1024;

// The largest screenshot a maker publishes is a few megabytes; a body beyond this is a broken or
// hostile server. The whole transfer ends within the deadline, so that an image that trickles in
// does not hold up the one-at-a-time prefetch behind it.
const TransferLimits imageLimits{
    .maximumBytes = 32 * 1024 * 1024,
    .deadline = std::chrono::milliseconds{60'000},
    .minimumRate = std::nullopt,
};

QString memoryKey(const QUrl &url, int maxPixels)
{
    return QString::number(maxPixels) + u'|' + QString::fromLatin1(url.toEncoded());
}

QSize bounded(const QSize &size, int maxPixels)
{
    return size.scaled(maxPixels, maxPixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

int decodePriority(ImageLoader::Priority priority)
{
    return priority == ImageLoader::Priority::UserInitiated ? 1 : 0;
}

// These run on the loader's decoding threads.
QImage decodeFromDisk(ImageDiskCache disk, QUrl url, int maxPixels)
{
    const std::optional<QByteArray> bytes = disk.data(url);
    return bytes ? ImageLoader::decode(*bytes, maxPixels) : QImage();
}

QImage decodeAndKeep(ImageDiskCache disk, QUrl url, QByteArray bytes, int maxPixels)
{
    QImage image = ImageLoader::decode(bytes, maxPixels);
    if (image.isNull())
        qCWarning(lcImages).noquote() << url.toDisplayString() << "is no image";
    else
        disk.store(bytes, url);
    return image;
}

void storeIfImage(ImageDiskCache disk, QUrl url, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (QImageReader(&buffer).canRead())
        disk.store(bytes, url);
    else
        qCWarning(lcImages).noquote() << url.toDisplayString() << "is no image";
}

} // namespace

ImageLoader::ImageLoader(ImageDiskCache disk, std::unique_ptr<QNetworkAccessManager> session, QObject *parent)
    : QObject(parent), m_disk(std::move(disk)), m_session(std::move(session)), m_memory(memoryLimitBytes)
{}

ImageLoader::~ImageLoader() = default;

QCoro::Task<QImage> ImageLoader::image(QUrl url, int maxPixels, Priority priority)
{
    if (url.isEmpty() || maxPixels < 1)
        co_return QImage();
    if (std::optional<QImage> hit = cached(url, maxPixels))
        co_return *hit;
    const auto pending = m_loads.constFind(memoryKey(url, maxPixels));
    QFuture<QImage> loading = pending != m_loads.cend() ? *pending : startLoad(url, maxPixels, priority);
    co_return co_await loading;
}

std::optional<QImage> ImageLoader::cached(const QUrl &url, int maxPixels)
{
    if (const QImage *image = m_memory.object(memoryKey(url, maxPixels)))
        return *image;
    return std::nullopt;
}

void ImageLoader::prefetch(QList<CatalogApp> apps)
{
    prefetchInOrder(std::move(apps), ++m_prefetchGeneration);
}

QImage ImageLoader::decode(QByteArray bytes, int maxPixels)
{
    if (maxPixels < 1)
        return QImage();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // The bound is symmetric, so it holds for the stored size whatever the orientation.
    const QSize stored = reader.size();
    if (stored.isValid() && std::max(stored.width(), stored.height()) > maxPixels)
        reader.setScaledSize(bounded(stored, maxPixels));
    QImage image = reader.read();
    if (image.isNull())
        return QImage();
    // A format that tells no size before decoding is bounded afterwards.
    if (std::max(image.width(), image.height()) > maxPixels)
        image = image.scaled(bounded(image.size(), maxPixels), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Converted here, off the main thread, to what painting takes without converting.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QFuture<QImage> ImageLoader::startLoad(const QUrl &url, int maxPixels, Priority priority)
{
    auto promise = std::make_shared<QPromise<QImage>>();
    promise->start();
    QFuture<QImage> future = promise->future();
    m_loads.insert(memoryKey(url, maxPixels), future);
    // Nobody holds the load: it runs to its end whoever still waits for it.
    load(url, maxPixels, priority, std::move(promise));
    return future;
}

QCoro::Task<> ImageLoader::load(QUrl url, int maxPixels, Priority priority, std::shared_ptr<QPromise<QImage>> promise)
{
    QPointer<ImageLoader> self(this);
    QFuture<QImage> fromDisk = QtConcurrent::task(&decodeFromDisk)
                                   .withArguments(m_disk, url, maxPixels)
                                   .withPriority(decodePriority(priority))
                                   .onThreadPool(m_decoders)
                                   .spawn();
    QImage image = co_await fromDisk;
    if (image.isNull() && self) {
        QCoro::Task<std::optional<HTTPAnswer>> fetching = HTTPFetch::get(m_session.get(), url, imageLimits);
        const std::optional<HTTPAnswer> answer = co_await fetching;
        if (answer && answer->complete && self) {
            QFuture<QImage> decoding = QtConcurrent::task(&decodeAndKeep)
                                           .withArguments(m_disk, url, answer->body, maxPixels)
                                           .withPriority(decodePriority(priority))
                                           .onThreadPool(m_decoders)
                                           .spawn();
            image = co_await decoding;
        }
    }
    if (self) {
        const QString key = memoryKey(url, maxPixels);
        m_loads.remove(key);
        if (!image.isNull())
            m_memory.insert(key, new QImage(image), image.sizeInBytes());
    }
    promise->addResult(image);
    promise->finish();
}

QCoro::Task<> ImageLoader::prefetchInOrder(QList<CatalogApp> apps, quint64 generation)
{
    const int cardIcons = ImageBounds::icon(ImageBounds::cardIconPoints * qApp->devicePixelRatio());
    QList<std::pair<QUrl, int>> images;
    for (const CatalogApp &app : apps)
        images.append({app.iconURL, cardIcons});
    for (const CatalogApp &app : apps) {
        for (const QUrl &screenshot : app.screenshots)
            images.append({screenshot, ImageBounds::screenshot});
    }
    QPointer<ImageLoader> self(this);
    qsizetype decoded = 0;
    for (const auto &[url, maxPixels] : images) {
        if (!self || generation != m_prefetchGeneration)
            co_return;
        if (decoded < prefetchMemoryBytes) {
            QCoro::Task<QImage> loading = image(url, maxPixels, Priority::Background);
            decoded += (co_await loading).sizeInBytes();
        } else {
            QCoro::Task<> storing = keepOnDisk(url);
            co_await storing;
        }
    }
}

QCoro::Task<> ImageLoader::keepOnDisk(QUrl url)
{
    if (url.isEmpty() || QFile::exists(m_disk.file(url)))
        co_return;
    QPointer<ImageLoader> self(this);
    QCoro::Task<std::optional<HTTPAnswer>> fetching = HTTPFetch::get(m_session.get(), url, imageLimits);
    const std::optional<HTTPAnswer> answer = co_await fetching;
    if (!self || !answer || !answer->complete)
        co_return;
    // Written and trimmed off the main thread, as decoded images are.
    QFuture<void> storing = QtConcurrent::task(&storeIfImage)
                                .withArguments(m_disk, url, answer->body)
                                .withPriority(decodePriority(Priority::Background))
                                .onThreadPool(m_decoders)
                                .spawn();
    co_await storing;
}
