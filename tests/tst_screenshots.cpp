#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// scripts/screenshots renders the gallery and every screen without a display; the pictures must
// all be there, none blank, and show what the window promises where it can be seen.
class ScreenshotsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_out;

    QImage picture(const QString &name) const { return QImage(m_out.filePath(name + QStringLiteral(".png"))); }

private Q_SLOTS:
    void initTestCase()
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(QStringLiteral(TESSEL_SOURCE_DIR "/scripts/screenshots"), {m_out.path()});
        QVERIFY(script.waitForFinished(360000));
        QCOMPARE(script.exitCode(), 0);
    }

    void everyPictureIsThereAndShowsSomething()
    {
        QStringList expected;
        for (const char *appearance : {"light", "dark"}) {
            for (const char *direction : {"ltr", "rtl"})
                expected.append(QStringLiteral("gallery-%1-%2.png").arg(appearance, direction));
        }
        for (const char *screen :
             {"explore", "explore-search", "my-apps", "updates", "updates-none", "detail", "viewer", "account"}) {
            for (const char *variant :
                 {"1180-light-ltr", "1180-dark-ltr", "1180-light-rtl", "1600-light-ltr", "1600-dark-rtl"})
                expected.append(QStringLiteral("%1-%2.png").arg(screen, variant));
        }
        for (const char *language : {"de", "ar"}) {
            for (const char *screen : {"explore", "my-apps", "updates", "detail", "account"})
                expected.append(QStringLiteral("%1-1180-light-%2.png").arg(screen, language));
            expected.append(QStringLiteral("explore-1600-dark-%1.png").arg(language));
        }
        expected << QStringLiteral("failed-1180-light-ltr.png") << QStringLiteral("failed-1180-dark-rtl.png")
                 << QStringLiteral("store-update-light-ltr.png") << QStringLiteral("store-update-dark-rtl.png");
        expected.sort();
        QCOMPARE(QDir(m_out.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name), expected);
        for (const QString &file : std::as_const(expected)) {
            const QImage image(m_out.filePath(file));
            QVERIFY2(!image.isNull(), qPrintable(file));
            // Not one colour all over: something was drawn on the page.
            const QRgb first = image.pixel(0, 0);
            bool varies = false;
            for (int y = 0; y < image.height() && !varies; y += 4) {
                for (int x = 0; x < image.width() && !varies; x += 4)
                    varies = image.pixel(x, y) != first;
            }
            QVERIFY2(varies, qPrintable(file + QStringLiteral(" is blank")));
        }
    }

    void thePageColourFollowsTheAppearance_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("page");
        QTest::newRow("light") << "updates-none-1600-light-ltr" << QColor(0xF6F5F2);
        QTest::newRow("dark") << "updates-none-1600-dark-rtl" << QColor(0x0D0C11);
        QTest::newRow("gallery dark") << "gallery-dark-rtl" << QColor(0x0D0C11);
    }

    void thePageColourFollowsTheAppearance()
    {
        QFETCH(QString, name);
        QFETCH(QColor, page);
        const QImage image = picture(name);
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 10), page);
    }

    // The 14-point buttons stand 26 points in from the leading edge, centred in the 50-point band.
    void theWindowButtonsSitWhereTheBandPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("firstX"); // the centre of the outermost button
        QTest::newRow("left to right") << "explore-1180-light-ltr" << 26 + 7;
        QTest::newRow("right to left") << "explore-1180-light-rtl" << 1180 - 26 - 7;
        QTest::newRow("wide, right to left") << "explore-1600-dark-rtl" << 1600 - 26 - 7;
        // Right to left from the Arabic translation, without being asked to.
        QTest::newRow("Arabic") << "explore-1180-light-ar" << 1180 - 26 - 7;
        QTest::newRow("German") << "explore-1180-light-de" << 26 + 7;
    }

    void theWindowButtonsSitWhereTheBandPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(int, firstX);
        const QImage image = picture(name);
        // The buttons stand on the sidebar, above its header.
        const QColor behind = image.pixelColor(firstX, 25 - 12);
        const int step = firstX < image.width() / 2 ? 20 : -20;
        for (int button = 0; button < 3; ++button)
            QVERIFY2(image.pixelColor(firstX + button * step, 25) != behind, qPrintable(QString::number(button)));
        QCOMPARE(image.pixelColor(firstX - step, 25), behind);
        QCOMPARE(image.pixelColor(firstX + 3 * step, 25), behind);
    }
};

QTEST_GUILESS_MAIN(ScreenshotsTest)
#include "tst_screenshots.moc"
