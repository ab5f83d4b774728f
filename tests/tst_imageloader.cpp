#include "app/images/cachedimage.h"
#include "app/images/imagebounds.h"
#include "app/images/imageloader.h"
#include "app/images/imagesession.h"
#include "harness/testserver.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TesselStore_ImagesPlugin)
Q_DECLARE_METATYPE(HttpResponse)

namespace {

using Priority = ImageLoader::Priority;

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode a %s", format);
    return bytes;
}

// A picture whose left half is red and right half blue, so that its turn can be told.
QImage halves(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    return image;
}

// The JPEG with an EXIF segment after its start marker carrying only the orientation tag, as
// a camera held sideways writes it.
QByteArray withOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8); // big-endian, the first directory at offset 8
    tiff += QByteArray("\0\x01", 2);          // one entry: Orientation, a SHORT, one value
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xff);
    tiff += QByteArray(6, '\0'); // the value's padding, and no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    const QByteArray segment = QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qBlue(pixel) < 60;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 60;
}

HttpResponse png(QSize size)
{
    return HttpResponse::ok(encoded(halves(size), "PNG"), "image/png");
}

} // namespace

class ImageLoaderTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ImageLoader> m_loader;

    QString diskFolder() const { return m_folder->filePath(QStringLiteral("Images")); }

    std::unique_ptr<ImageLoader> makeLoader() const
    {
        return std::make_unique<ImageLoader>(ImageDiskCache(diskFolder(), ImageDiskCache::standardLimit),
                                             std::make_unique<ImageSession>());
    }

    QImage load(const QUrl &url, int maxPixels)
    {
        return QCoro::waitFor(m_loader->image(url, maxPixels, Priority::UserInitiated));
    }

    QStringList diskFiles() const { return QDir(diskFolder()).entryList(QDir::Files); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<TestServer>();
        m_loader = makeLoader();
        ImageLoader::provide(m_loader.get());
    }

    void decodesWithinTheBound_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxPixels");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("screenshot downsampled") << encoded(halves({4000, 3000}), "JPEG") << 1600 << QSize(1600, 1200);
        QTest::newRow("small icon kept") << encoded(halves({300, 200}), "PNG") << 512 << QSize(300, 200);
        QTest::newRow("exactly the bound") << encoded(halves({512, 512}), "PNG") << 512 << QSize(512, 512);
        QTest::newRow("portrait downsampled") << encoded(halves({1000, 2000}), "PNG") << 512 << QSize(256, 512);
        QTest::newRow("turned, then bounded")
            << withOrientation(encoded(halves({4000, 2000}), "JPEG"), 6) << 1600 << QSize(800, 1600);
        QTest::newRow("no image") << QByteArray("<html>not found</html>") << 512 << QSize(0, 0);
        QTest::newRow("nothing") << QByteArray() << 512 << QSize(0, 0);
    }

    void decodesWithinTheBound()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxPixels);
        QFETCH(QSize, expected);
        const QImage image = ImageLoader::decode(bytes, maxPixels);
        QCOMPARE(image.size(), expected);
        QCOMPARE(image.isNull(), expected.isEmpty());
    }

    void turnsPhotosUpright_data()
    {
        QTest::addColumn<quint16>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("red");
        QTest::addColumn<QPoint>("blue");
        QTest::newRow("as stored") << quint16(1) << QSize(40, 20) << QPoint(5, 10) << QPoint(35, 10);
        QTest::newRow("turned 180") << quint16(3) << QSize(40, 20) << QPoint(35, 10) << QPoint(5, 10);
        QTest::newRow("turned 90 clockwise") << quint16(6) << QSize(20, 40) << QPoint(10, 5) << QPoint(10, 35);
        QTest::newRow("turned 90 counter-clockwise") << quint16(8) << QSize(20, 40) << QPoint(10, 35) << QPoint(10, 5);
    }

    void turnsPhotosUpright()
    {
        QFETCH(quint16, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, red);
        QFETCH(QPoint, blue);
        const QImage image = ImageLoader::decode(withOrientation(encoded(halves({40, 20}), "JPEG"), orientation), 512);
        QCOMPARE(image.size(), size);
        QVERIFY(isRed(image.pixel(red)));
        QVERIFY(isBlue(image.pixel(blue)));
    }

    void answersWithoutAWholeImageAreNotKept_data()
    {
        QTest::addColumn<HttpResponse>("response");
        HttpResponse missing = HttpResponse::ok("<html><body>Not Found</body></html>", "text/html");
        missing.status = 404;
        QTest::newRow("404 with a page") << missing;
        QTest::newRow("200 with no image") << HttpResponse::ok("{\"error\": \"busy\"}", "image/png");
        HttpResponse part = png({64, 64});
        part.status = 206;
        QTest::newRow("206 without a range") << part;
        HttpResponse cut = png({64, 64});
        cut.bodyBytesSent = cut.body.size() / 2;
        QTest::newRow("cut short") << cut;
    }

    void answersWithoutAWholeImageAreNotKept()
    {
        QFETCH(HttpResponse, response);
        m_server->respond("/shot.png", response);
        const QUrl url = m_server->url(QStringLiteral("/shot.png"));
        QVERIFY(load(url, 512).isNull());
        QCOMPARE(diskFiles(), QStringList());
        QVERIFY(!m_loader->cached(url, 512));
        // Nothing was remembered: the next request asks again.
        QVERIFY(load(url, 512).isNull());
        QCOMPARE(m_server->hits("/shot.png"), 2);
    }

    void laterRequestsComeFromMemoryOrDisk()
    {
        m_server->respond("/shot.png", png({800, 600}));
        const QUrl url = m_server->url(QStringLiteral("/shot.png"));
        QCOMPARE(load(url, 1600).size(), QSize(800, 600));
        QCOMPARE(m_server->hits("/shot.png"), 1);
        QCOMPARE(diskFiles().size(), 1);

        // Another bound decodes the disk's bytes again.
        QCOMPARE(load(url, 100).size(), QSize(100, 75));
        QCOMPARE(m_server->hits("/shot.png"), 1);

        // The same bound again needs neither.
        QVERIFY(QDir(diskFolder()).removeRecursively());
        QCOMPARE(load(url, 1600).size(), QSize(800, 600));
        QCOMPARE(load(url, 100).size(), QSize(100, 75));
        QCOMPARE(m_server->hits("/shot.png"), 1);
        QCOMPARE(m_loader->cached(url, 1600)->size(), QSize(800, 600));
        QVERIFY(!m_loader->cached(url, 512));
    }

    void aSeenImageShowsAfterARestartWithoutNetwork()
    {
        m_server->respond("/icon.png", png({300, 200}));
        const QUrl url = m_server->url(QStringLiteral("/icon.png"));
        QCOMPARE(load(url, 512).size(), QSize(300, 200));
        m_server.reset();
        m_loader = makeLoader();
        QVERIFY(!m_loader->cached(url, 512));
        QCOMPARE(load(url, 512).size(), QSize(300, 200));
    }

    void requestsAtTheSameTimeShareOneLoad()
    {
        HttpResponse slow = png({300, 200});
        slow.delayMilliseconds = 200;
        m_server->respond("/icon.png", slow);
        const QUrl url = m_server->url(QStringLiteral("/icon.png"));
        QCoro::Task<QImage> first = m_loader->image(url, 512, Priority::UserInitiated);
        QCoro::Task<QImage> second = m_loader->image(url, 512, Priority::Background);
        QCOMPARE(QCoro::waitFor(std::move(first)).size(), QSize(300, 200));
        QCOMPARE(QCoro::waitFor(std::move(second)).size(), QSize(300, 200));
        QCOMPARE(m_server->hits("/icon.png"), 1);
    }

    void aLoadNobodyWaitsForStillFillsTheCaches()
    {
        m_server->respond("/icon.png", png({300, 200}));
        const QUrl url = m_server->url(QStringLiteral("/icon.png"));
        {
            CachedImage view;
            view.setSource(url);
            QCOMPARE(view.status(), CachedImage::Loading);
        }
        QTRY_VERIFY(m_loader->cached(url, 512));
        QCOMPARE(diskFiles().size(), 1);
    }

    void prefetchLoadsIconsFirstOneAtATime()
    {
        QList<CatalogApp> apps;
        QStringList requested;
        bool earlierLoadsDone = true;
        QList<std::pair<QUrl, int>> loaded; // in the order the loads must come
        const auto serve = [&](const QString &path, int maxPixels) {
            const QUrl url = m_server->url(path);
            const std::pair<QUrl, int> earlier = loaded.value(loaded.size() - 1);
            m_server->handle(path.toUtf8(), [&, earlier, path](const HttpRequest &) {
                requested.append(path);
                if (!earlier.first.isEmpty() && !m_loader->cached(earlier.first, earlier.second))
                    earlierLoadsDone = false;
                return png({64, 48});
            });
            loaded.append({url, maxPixels});
            return url;
        };
        for (const QString &name : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
            apps.append({.productID = name,
                         .iconURL = serve(QStringLiteral("/%1/icon.png").arg(name),
                                          ImageBounds::icon(ImageBounds::cardIconPoints))});
        for (CatalogApp &app : apps) {
            for (int shot = 1; shot <= 2; ++shot)
                app.screenshots.append(
                    serve(QStringLiteral("/%1/%2.png").arg(app.productID).arg(shot), ImageBounds::screenshot));
        }

        m_loader->prefetch(apps);
        QCOMPARE(requested, QStringList());
        QTRY_COMPARE(requested.size(), 9);
        QCOMPARE(requested, (QStringList{"/a/icon.png", "/b/icon.png", "/c/icon.png", "/a/1.png", "/a/2.png",
                                         "/b/1.png", "/b/2.png", "/c/1.png", "/c/2.png"}));
        QVERIFY(earlierLoadsDone);
        QTRY_VERIFY(m_loader->cached(loaded.last().first, loaded.last().second));
        for (const auto &[url, maxPixels] : loaded)
            QVERIFY2(m_loader->cached(url, maxPixels), qPrintable(url.path()));

        // Everything is in memory now: the same prefetch asks the server nothing.
        m_loader->prefetch(apps);
        QTest::qWait(100);
        QCOMPARE(requested.size(), 9);
    }

    void prefetchDecodesOnlyWhatMemoryShouldHold()
    {
        // Twelve screenshots of 7.3 MiB decoded: far more than a prefetch keeps in memory.
        QList<CatalogApp> apps;
        QList<QUrl> screenshots;
        for (int i = 0; i < 12; ++i) {
            const QString path = QStringLiteral("/%1.png").arg(i);
            m_server->respond(path.toUtf8(), png({1600, 1200}));
            screenshots.append(m_server->url(path));
            apps.append({.productID = QString::number(i), .screenshots = {screenshots.last()}});
        }
        m_loader->prefetch(apps);
        QTRY_COMPARE(diskFiles().size(), 12);
        int inMemory = 0;
        for (const QUrl &url : std::as_const(screenshots))
            inMemory += m_loader->cached(url, ImageBounds::screenshot) ? 1 : 0;
        QCOMPARE(inMemory, 3);
        QVERIFY(m_loader->cached(screenshots.first(), ImageBounds::screenshot));

        // What stayed on disk only decodes from there, without the network.
        const int hits = m_server->hits("/11.png");
        QVERIFY(!load(screenshots.last(), ImageBounds::screenshot).isNull());
        QCOMPARE(m_server->hits("/11.png"), hits);
    }

    void viewShowsAnImageInMemoryAtOnce()
    {
        m_server->respond("/icon.png", png({300, 200}));
        const QUrl url = m_server->url(QStringLiteral("/icon.png"));
        QVERIFY(!load(url, 512).isNull());
        CachedImage view;
        view.setSource(url);
        QCOMPARE(view.status(), CachedImage::Ready);
        QCOMPARE(view.imageSize(), QSize(300, 200));

        view.setSource(QUrl());
        QCOMPARE(view.status(), CachedImage::Failed);
        QVERIFY(view.imageSize().isEmpty());
    }

    void viewFailsAfterALoadThatGaveNothing()
    {
        m_server->respond("/icon.png", HttpResponse::ok("not an image", "image/png"));
        CachedImage view;
        view.setSource(m_server->url(QStringLiteral("/icon.png")));
        QCOMPARE(view.status(), CachedImage::Loading);
        QTRY_COMPARE(view.status(), CachedImage::Failed);
        QVERIFY(view.imageSize().isEmpty());
    }

    void viewInQmlLoadsOnlyItsFinalBound()
    {
        m_server->respond("/shot.png", png({2000, 1000}));
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral(":/qt/qml"));
        QQmlComponent component(&engine);
        component.setData(QStringLiteral("import TesselStore.Images\n"
                                         "CachedImage {\n"
                                         "    property bool ready: status === CachedImage.Ready\n"
                                         "    source: \"%1\"\n"
                                         "    maxPixels: 1600\n"
                                         "    radius: 12\n"
                                         "}\n")
                              .arg(m_server->url(QStringLiteral("/shot.png")).toString())
                              .toUtf8(),
                          QUrl());
        const std::unique_ptr<QObject> view(component.create());
        QVERIFY2(view, qPrintable(component.errorString()));
        QTRY_VERIFY(view->property("ready").toBool());
        QCOMPARE(view->property("imageSize").toSize(), QSize(1600, 800));
        QCOMPARE(m_server->hits("/shot.png"), 1);
    }

    void drawsFittedOrStretched_data()
    {
        QTest::addColumn<bool>("fill");
        QTest::addColumn<qreal>("radius");
        QTest::addColumn<QPoint>("empty");
        QTest::addColumn<QPoint>("red");
        QTest::addColumn<QPoint>("blue");
        // A 2:1 picture in a square: fitted it leaves bands above and below.
        QTest::newRow("fitted") << false << 0.0 << QPoint(50, 10) << QPoint(10, 30) << QPoint(90, 70);
        QTest::newRow("stretched") << true << 0.0 << QPoint(-1, -1) << QPoint(10, 5) << QPoint(90, 95);
        QTest::newRow("stretched, rounded") << true << 20.0 << QPoint(1, 1) << QPoint(10, 50) << QPoint(90, 50);
        QTest::newRow("fitted, rounded") << false << 10.0 << QPoint(1, 26) << QPoint(10, 50) << QPoint(90, 50);
    }

    void drawsFittedOrStretched()
    {
        QFETCH(bool, fill);
        QFETCH(qreal, radius);
        QFETCH(QPoint, empty);
        QFETCH(QPoint, red);
        QFETCH(QPoint, blue);
        m_server->respond("/shot.png", png({200, 100}));
        const QUrl url = m_server->url(QStringLiteral("/shot.png"));
        QVERIFY(!load(url, 512).isNull());
        CachedImage view;
        view.setSize({100, 100});
        view.setFill(fill);
        view.setRadius(radius);
        view.setSource(url);
        QImage canvas(100, 100, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        QCOMPARE(view.status(), CachedImage::Ready);
        view.paint(&painter);
        painter.end();
        if (empty.x() >= 0)
            QCOMPARE(qAlpha(canvas.pixel(empty)), 0);
        QVERIFY(isRed(canvas.pixel(red)));
        QVERIFY(isBlue(canvas.pixel(blue)));
    }
};

QTEST_MAIN(ImageLoaderTest)
#include "tst_imageloader.moc"
