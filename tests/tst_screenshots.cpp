#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// scripts/screenshots renders the gallery and the window without a display; the pictures must
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
        QVERIFY(script.waitForFinished(240000));
        QCOMPARE(script.exitCode(), 0);
    }

    void everyPictureIsThereAndShowsSomething()
    {
        QStringList expected;
        for (const char *appearance : {"light", "dark"}) {
            for (const char *direction : {"ltr", "rtl"}) {
                for (const char *what : {"gallery", "window-narrow", "window-wide"})
                    expected.append(QStringLiteral("%1-%2-%3.png").arg(what, appearance, direction));
            }
        }
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
        QTest::newRow("light") << "window-wide-light-ltr" << QColor(0xF6F5F2);
        QTest::newRow("dark") << "window-wide-dark-ltr" << QColor(0x0D0C11);
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
        QTest::newRow("narrow, left to right") << "window-narrow-light-ltr" << 26 + 7;
        QTest::newRow("narrow, right to left") << "window-narrow-light-rtl" << 1100 - 26 - 7;
        QTest::newRow("wide, right to left") << "window-wide-dark-rtl" << 1600 - 26 - 7;
    }

    void theWindowButtonsSitWhereTheBandPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(int, firstX);
        const QImage image = picture(name);
        const QColor page = image.pixelColor(image.width() / 2, image.height() - 10);
        const int step = firstX < image.width() / 2 ? 20 : -20;
        for (int button = 0; button < 3; ++button)
            QVERIFY2(image.pixelColor(firstX + button * step, 25) != page, qPrintable(QString::number(button)));
        QCOMPARE(image.pixelColor(firstX - step, 25), page);
        QCOMPARE(image.pixelColor(firstX + 3 * step, 25), page);
        QCOMPARE(image.pixelColor(firstX, 25 - 12), page);
    }
};

QTEST_GUILESS_MAIN(ScreenshotsTest)
#include "tst_screenshots.moc"
