#include "net/imagediskcache.h"
#include "platform/locations.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QUrl image(const QString &name)
{
    return QUrl(QStringLiteral("https://images.orvel.example/") + name);
}

void age(const QString &file, int secondsAgo)
{
    QFile handle(file);
    if (!handle.open(QIODevice::ReadOnly) ||
        !handle.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo), QFileDevice::FileModificationTime))
        qFatal("cannot age %s", qPrintable(file));
}

} // namespace

class ImageDiskCacheTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    ImageDiskCache cache(qint64 limit) const
    {
        return ImageDiskCache(m_root->filePath(QStringLiteral("Images")), limit);
    }

    QStringList files() const
    {
        return QDir(m_root->filePath(QStringLiteral("Images")))
            .entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void init() { m_root = std::make_unique<QTemporaryDir>(); }

    void fileNames()
    {
        const ImageDiskCache images = cache(100);
        const QString icon = QFileInfo(images.file(image(QStringLiteral("lumen/Icon.PNG")))).fileName();
        QCOMPARE(icon, QString::fromLatin1(QCryptographicHash::hash("https://images.orvel.example/lumen/Icon.PNG",
                                                                    QCryptographicHash::Sha256)
                                               .toHex()) +
                           QStringLiteral(".png"));
        QVERIFY(images.file(image(QStringLiteral("shot"))).endsWith(QStringLiteral(".img")));
        QVERIFY(images.file(image(QStringLiteral(".hidden"))).endsWith(QStringLiteral(".img")));
        QVERIFY(images.file(image(QStringLiteral("dir.v2/shot"))).endsWith(QStringLiteral(".img")));

        const QString first = images.file(QUrl(QStringLiteral("https://images.orvel.example/a.jpg?size=1")));
        const QString second = images.file(QUrl(QStringLiteral("https://images.orvel.example/a.jpg?size=2")));
        QVERIFY(first != second);
        QVERIFY(first.endsWith(QStringLiteral(".jpg")) && second.endsWith(QStringLiteral(".jpg")));

        // Whatever the address, the file stays a plain name inside the folder.
        for (const char *hostile : {"a.png%2F..%2F..%2Fetc", "a.p/ng", "a.%2e%2e", "a.png%00.sh"}) {
            const QString file = images.file(QUrl(QStringLiteral("https://x.example/") + QLatin1String(hostile)));
            QCOMPARE(QFileInfo(file).absolutePath(), images.folder());
            QVERIFY(QFileInfo(file).fileName().count(u'.') == 1);
        }
        QCOMPARE(ImageDiskCache::standard(Locations::under(QStringLiteral("/r"))).folder(),
                 QStringLiteral("/r/home/.cache/Tessel Store/Images"));
        QCOMPARE(ImageDiskCache::standard().limit(), qint64(104857600));
    }

    void storesAndReads()
    {
        const ImageDiskCache images = cache(1000);
        QCOMPARE(images.data(image(QStringLiteral("a.png"))), std::nullopt);
        images.store("first", image(QStringLiteral("a.png")));
        images.store("second", image(QStringLiteral("a.png")));
        QCOMPARE(images.data(image(QStringLiteral("a.png"))), std::optional<QByteArray>("second"));
        QCOMPARE(files().size(), 1);
    }

    void trimDeletesOldestFirstDownToTheLimit()
    {
        const ImageDiskCache images = cache(1000);
        for (int i = 0; i < 4; ++i) {
            images.store(QByteArray(240, 'x'), image(QStringLiteral("%1.png").arg(i)));
            age(images.file(image(QStringLiteral("%1.png").arg(i))), 100 - i); // 0 oldest
        }
        QCOMPARE(files().size(), 4);                                          // 960 bytes
        images.store(QByteArray(100, 'y'), image(QStringLiteral("new.png"))); // 1060: one must go
        QVERIFY(!QFile::exists(images.file(image(QStringLiteral("0.png")))));
        QCOMPARE(files().size(), 4);
        QVERIFY(QFile::exists(images.file(image(QStringLiteral("new.png")))));
    }

    void exactlyTheLimitIsKept()
    {
        const ImageDiskCache images = cache(1000);
        images.store(QByteArray(600, 'x'), image(QStringLiteral("a.png")));
        images.store(QByteArray(400, 'x'), image(QStringLiteral("b.png")));
        QCOMPARE(files().size(), 2);
    }

    void oversizedImageGoesLastButGoes()
    {
        const ImageDiskCache images = cache(1000);
        images.store(QByteArray(300, 'x'), image(QStringLiteral("small.png")));
        age(images.file(image(QStringLiteral("small.png"))), 50);
        images.store(QByteArray(1200, 'x'), image(QStringLiteral("huge.png")));
        QCOMPARE(files(), QStringList());
    }

    void readingMakesAnImageTheNewest()
    {
        const ImageDiskCache images = cache(1000);
        images.store(QByteArray(400, 'x'), image(QStringLiteral("old.png")));
        images.store(QByteArray(400, 'x'), image(QStringLiteral("mid.png")));
        age(images.file(image(QStringLiteral("old.png"))), 200);
        age(images.file(image(QStringLiteral("mid.png"))), 100);
        QVERIFY(images.data(image(QStringLiteral("old.png"))));
        images.store(QByteArray(400, 'x'), image(QStringLiteral("new.png")));
        QVERIFY(QFile::exists(images.file(image(QStringLiteral("old.png")))));
        QVERIFY(!QFile::exists(images.file(image(QStringLiteral("mid.png")))));
    }

    void unreadableEntriesAreNeitherCountedNorDeleted()
    {
        const ImageDiskCache images = cache(1000);
        QDir().mkpath(images.folder());
        const QString dangling = images.folder() + QStringLiteral("/0000.png");
        QVERIFY(QFile::link(m_root->filePath(QStringLiteral("nowhere")), dangling));
        images.store(QByteArray(900, 'x'), image(QStringLiteral("a.png")));
        age(images.file(image(QStringLiteral("a.png"))), 10);
        images.store(QByteArray(200, 'x'), image(QStringLiteral("b.png")));
        QVERIFY(QFileInfo(dangling).isSymLink());
        QVERIFY(!QFile::exists(images.file(image(QStringLiteral("a.png")))));
        QVERIFY(QFile::exists(images.file(image(QStringLiteral("b.png")))));
    }

    void unwritableFolderIsSilent()
    {
        QFile blocker(m_root->filePath(QStringLiteral("Images")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ImageDiskCache images = cache(1000);
        images.store("bytes", image(QStringLiteral("a.png")));
        QCOMPARE(images.data(image(QStringLiteral("a.png"))), std::nullopt);
    }

    void concurrentStoresAndReadsSeeWholeImages()
    {
        const ImageDiskCache images = cache(50 * 1024);
        const QByteArray a(8000, 'a');
        const QByteArray b(8000, 'b');
        auto worker = [&](const QByteArray &bytes) {
            int torn = 0;
            for (int i = 0; i < 200; ++i) {
                images.store(bytes, image(QStringLiteral("shared-%1.png").arg(i % 5)));
                const std::optional<QByteArray> read =
                    images.data(image(QStringLiteral("shared-%1.png").arg((i + 2) % 5)));
                if (read && *read != a && *read != b)
                    ++torn;
            }
            return torn;
        };
        QFuture<int> first = QtConcurrent::run(worker, a);
        QFuture<int> second = QtConcurrent::run(worker, b);
        QCOMPARE(first.result() + second.result(), 0);
    }
};

QTEST_GUILESS_MAIN(ImageDiskCacheTest)
#include "tst_imagediskcache.moc"
