#include "crypto/base64.h"
#include "shell/appearance.h"
#include "shell/resourcebundlelocator.h"
#include "shell/storesection.h"
#include "shell/storetheme.h"
#include "shell/updaterconfiguration.h"

#include <QSet>
#include <QTest>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

class ShellSupportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resourceBundleLocation_data()
    {
        QTest::addColumn<OptionalText>("resources");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<OptionalText>("found");

        const QString name = QStringLiteral("TesselStore_TesselStore.bundle");
        const QString inResources = QStringLiteral("/A.app/Contents/Resources/") + name;
        const QString beside = QStringLiteral("/A.app/") + name;
        QTest::newRow("inside resources first") << OptionalText(QStringLiteral("/A.app/Contents/Resources"))
                                                << QStringList{inResources, beside} << OptionalText(inResources);
        QTest::newRow("then beside") << OptionalText(QStringLiteral("/A.app/Contents/Resources")) << QStringList{beside}
                                     << OptionalText(beside);
        QTest::newRow("no resource folder")
            << OptionalText() << QStringList{inResources, beside} << OptionalText(beside);
        QTest::newRow("nowhere") << OptionalText(QStringLiteral("/A.app/Contents/Resources")) << QStringList{}
                                 << OptionalText();
    }

    void resourceBundleLocation()
    {
        QFETCH(OptionalText, resources);
        QFETCH(QStringList, existing);
        QFETCH(OptionalText, found);
        QStringList asked;
        const auto exists = [&](const QString &path) {
            asked.append(path);
            return existing.contains(path);
        };
        QCOMPARE(ResourceBundleLocator::url(QStringLiteral("TesselStore_TesselStore.bundle"), resources,
                                            QStringLiteral("/A.app"), exists),
                 found);
    }

    void rawValuesRoundTrip()
    {
        for (const Appearance appearance : Appearances::all())
            QCOMPARE(Appearances::fromRawValue(Appearances::rawValue(appearance)), appearance);
        QCOMPARE(Appearances::fromRawValue(QStringLiteral("Dark")), Appearance::System);
        QCOMPARE(Appearances::fromRawValue(QString()), Appearance::System);
        QCOMPARE(Appearances::title(Appearance::System), QStringLiteral("Automatic"));

        QStringList raw;
        for (const StoreSection section : StoreSections::all()) {
            QCOMPARE(StoreSections::fromRawValue(StoreSections::rawValue(section)), section);
            raw.append(StoreSections::rawValue(section));
        }
        QCOMPARE(raw, (QStringList{"explore", "myApps", "updates", "account"}));
        QCOMPARE(StoreSections::fromRawValue(QStringLiteral("myapps")), std::nullopt);
        QCOMPARE(StoreSections::fromStored(QStringLiteral("updates")), StoreSection::Updates);
        QCOMPARE(StoreSections::fromStored(QStringLiteral("store")), StoreSection::Explore);
        QCOMPARE(StoreSections::fromStored(std::nullopt), StoreSection::Explore);
    }

    void updaterConfiguration_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<bool>("configured");

        const QString key32 = QString::fromLatin1(QByteArray(32, '\x07').toBase64());
        const QString feed = QStringLiteral("https://store.orvel.example/appcast.xml");
        auto info = [](const QVariant &feedURL, const QVariant &key) {
            QVariantMap map{{QStringLiteral("CFBundleIdentifier"), QStringLiteral("x")}};
            if (feedURL.isValid())
                map.insert(QStringLiteral("SUFeedURL"), feedURL);
            if (key.isValid())
                map.insert(QStringLiteral("SUPublicEDKey"), key);
            return map;
        };
        QTest::newRow("configured") << info(feed, key32) << true;
        QTest::newRow("empty dictionary") << QVariantMap() << false;
        QTest::newRow("http feed") << info(QStringLiteral("http://store.orvel.example/a.xml"), key32) << false;
        QTest::newRow("scheme in capitals")
            << info(QStringLiteral("HTTPS://store.orvel.example/a.xml"), key32) << false;
        QTest::newRow("feed not a string") << info(QVariant(5), key32) << false;
        QTest::newRow("feed not a URL") << info(QStringLiteral("https://a b"), key32) << false;
        QTest::newRow("no key") << info(feed, QVariant()) << false;
        QTest::newRow("empty key") << info(feed, QString()) << false;
        QTest::newRow("31 bytes") << info(feed, QString::fromLatin1(QByteArray(31, 'a').toBase64())) << false;
        QTest::newRow("33 bytes") << info(feed, QString::fromLatin1(QByteArray(33, 'a').toBase64())) << false;
        QTest::newRow("line break in key") << info(feed, key32.left(20) + u'\n' + key32.mid(20)) << false;
        QTest::newRow("base64url key") << info(feed, QString::fromLatin1(Base64::encodeURL(QByteArray(32, '\xfb'))))
                                       << false;
    }

    void updaterConfiguration()
    {
        QFETCH(QVariantMap, info);
        QFETCH(bool, configured);
        QCOMPARE(UpdaterConfiguration::isConfigured(info), configured);
    }

    void shownVersion()
    {
        QCOMPARE(UpdaterConfiguration::shownVersion({}), QStringLiteral("1.0"));
        QCOMPARE(UpdaterConfiguration::shownVersion({{QStringLiteral("CFBundleShortVersionString"), 2}}),
                 QStringLiteral("1.0"));
        QCOMPARE(
            UpdaterConfiguration::shownVersion({{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.1")}}),
            QStringLiteral("2.1"));
    }

    void scaleFollowsTheWindowWidth_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("scale");
        QTest::newRow("narrow") << 800.0 << 1.0;
        QTest::newRow("threshold") << 1180.0 << 1.0;
        QTest::newRow("between") << 1368.0 << 1.2;
        QTest::newRow("ceiling") << 1556.0 << 1.4;
        QTest::newRow("wider") << 3000.0 << 1.4;
    }

    void scaleFollowsTheWindowWidth()
    {
        QFETCH(double, width);
        QFETCH(double, scale);
        QVERIFY(qFuzzyCompare(StoreTheme::scale(width), scale));
        QVERIFY(qFuzzyCompare(StoreTheme::titleScale(StoreTheme::scale(width)), (scale - 1) * 0.6 + 1));
    }

    void colourTokensAreOneTable()
    {
        QSet<QString> names;
        for (const StoreTheme::ColorToken &token : StoreTheme::colorTokens()) {
            QVERIFY2(!names.contains(token.name), qPrintable(token.name));
            names.insert(token.name);
            QVERIFY(token.light <= 0xFFFFFF && token.dark <= 0xFFFFFF);
            QVERIFY(token.lightOpacity >= 0 && token.lightOpacity <= 1 && token.darkOpacity >= 0 &&
                    token.darkOpacity <= 1);
        }
        QCOMPARE(names.size(), 19);
    }
};

QTEST_GUILESS_MAIN(ShellSupportTest)
#include "tst_shellsupport.moc"
