#include "app/images/imageloader.h"
#include "app/images/imagesession.h"
#include "app/screens/storedata.h"
#include "app/theme/appearancesetting.h"
#include "app/theme/storepalette.h"
#include "app/updater/appupdater.h"
#include "app/window/startatlogin.h"
#include "harness/bundlefactory.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "harness/windowdriver.h"
#include "harness/windowtestmain.h"
#include "presentation/storenavigation.h"
#include "presentation/storestatus.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <functional>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_StylePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_UpdaterPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ScreensPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_WindowPlugin)

using namespace CatalogFixtures;

using WindowDriver::findItem;

// The window's content over the real model, the HTTPS test server and a fixture catalog:
// what a click does, what a page shows, as a person would find it.
class ScreensTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;
    std::unique_ptr<StoreModel> m_model;
    std::unique_ptr<StoreStatus> m_status;
    std::unique_ptr<StoreData> m_data;
    QTemporaryDir m_settings;
    std::unique_ptr<StorePalette> m_palette;
    std::unique_ptr<AppearanceSetting> m_appearance;
    std::unique_ptr<ImageLoader> m_images;
    std::unique_ptr<StartAtLogin> m_startAtLogin;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    QQuickItem *m_root = nullptr;
    std::unique_ptr<AppUpdater> m_updater;

    // Apps a, b and c with feeds; "a" has three screenshots the server does not have.
    void serveCatalog(int feedDelay = 0)
    {
        QList<QJsonObject> apps;
        for (const QString &id : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
            QJsonObject app = CatalogFixtures::app(id);
            app.insert(QStringLiteral("name"), QStringLiteral("App ") + id.toUpper());
            app.insert(QStringLiteral("tagline"),
                       QJsonObject{{QStringLiteral("en"), QStringLiteral("Notes for ") + id}});
            app.insert(QStringLiteral("appcastURL"), m_server->url(QStringLiteral("/feeds/%1.xml").arg(id)).toString());
            if (id == u'a') {
                QJsonArray shots;
                for (int shot = 1; shot <= 3; ++shot)
                    shots.append(m_server->url(QStringLiteral("/shots/a%1.png").arg(shot)).toString());
                app.insert(QStringLiteral("screenshots"), shots);
            }
            apps.append(app);
            const QByteArray feed = "<rss><channel><item><sparkle:version>121</sparkle:version>"
                                    "<sparkle:shortVersionString>2.2</sparkle:shortVersionString>"
                                    "<enclosure url=\"" +
                                    m_server->url(QStringLiteral("/archives/%1.zip").arg(id)).toString().toUtf8() +
                                    "\" sparkle:edSignature=\"AA==\"/></item></channel></rss>";
            HttpResponse answer = HttpResponse::ok(feed, "application/rss+xml");
            answer.delayMilliseconds = feedDelay;
            m_server->respond(QStringLiteral("/feeds/%1.xml").arg(id).toLatin1(), answer);
            HttpResponse archive = HttpResponse::ok({}, "application/zip");
            archive.stall = true;
            m_server->respond(QStringLiteral("/archives/%1.zip").arg(id).toLatin1(), archive);
        }
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
    }

    void installCopy(const QString &productID, const QString &build)
    {
        BundleFactory::write(
            m_fixture->environment.locations.systemApplications + u'/' + productID + QStringLiteral(".app"),
            BundleFactory::info(QStringLiteral("com.orvel.") + productID, QStringLiteral("2.1"), build));
    }

    // Loads the store and opens its content in a window this wide, once the catalog is there
    // and, unless told otherwise, the whole check has ended.
    enum class Wait { ForCheck, ForCatalog };
    void open(int width = 1180, Wait wait = Wait::ForCheck)
    {
        m_model = m_fixture->makeModel();
        m_status = std::make_unique<StoreStatus>(m_model.get());
        m_data = std::make_unique<StoreData>(m_model.get(), m_status.get(), nullptr);
        StoreData::provide(m_data.get());
        m_status->reload();
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->apps().isEmpty(), 10000);
        if (wait == Wait::ForCheck)
            QTRY_VERIFY_WITH_TIMEOUT(!m_status->checking(), 10000);

        m_engine = std::make_unique<QQmlEngine>();
        m_engine->addImportPath(QStringLiteral(":/qt/qml"));
        QQmlComponent component(m_engine.get());
        component.setData("import QtQuick\nimport TesselStore.Theme\nimport TesselStore.Screens\n"
                          "RootView { storeScale: Theme.scale(width) }",
                          QUrl());
        m_root = qobject_cast<QQuickItem *>(component.create());
        QVERIFY2(m_root, qPrintable(component.errorString()));
        m_window = std::make_unique<QQuickWindow>();
        m_window->resize(width, 760);
        m_root->setParentItem(m_window->contentItem());
        m_root->setSize(m_window->size());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QQuickItem *item(const QString &name) const { return findItem(m_root, name); }

    QString autostartFolder() const { return m_settings.filePath(QStringLiteral("autostart")); }

    StoreNavigation *navigation() const { return m_root->property("navigation").value<StoreNavigation *>(); }

    void click(QQuickItem *target)
    {
        QVERIFY2(WindowDriver::click(m_window.get(), target), target ? qPrintable(target->objectName()) : "missing");
    }

    // The action button of a card, or of the row whose link this is (the button sits beside it).
    QQuickItem *actionButton(const QString &holder) const
    {
        QQuickItem *found = item(holder);
        if (found && holder.startsWith(QLatin1String("row-")))
            found = found->parentItem();
        return found ? findItem(found, QStringLiteral("actionButton")) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_palette = std::make_unique<StorePalette>(nullptr);
        auto settings =
            std::make_shared<QSettings>(m_settings.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        m_appearance =
            std::make_unique<AppearanceSetting>(UserDefaults({QStringLiteral("store")}, settings), m_palette.get());
        StorePalette::provide(m_palette.get());
        AppearanceSetting::provide(m_appearance.get());
        m_images = std::make_unique<ImageLoader>(
            ImageDiskCache(m_settings.filePath(QStringLiteral("images")), ImageDiskCache::standardLimit),
            std::make_unique<ImageSession>());
        ImageLoader::provide(m_images.get());
        // The store as its bundle runs it, so that the page offers to start it with the session.
        const QString bundle = BundleFactory::write(m_settings.filePath(QStringLiteral("Tessel Store.app")),
                                                    BundleFactory::info(QStringLiteral("com.orvel.tessel-store"),
                                                                        QStringLiteral("1.0"), QStringLiteral("100")));
        m_startAtLogin = std::make_unique<StartAtLogin>(LoginItem(autostartFolder(), bundle), nullptr);
        StartAtLogin::provide(m_startAtLogin.get());
    }

    // The store's own settings on the Account page: the version always, the daily check, its
    // button and the switch only where the bundle configures an updater.
    void accountShowsTheUpdaterWhenConfigured_data()
    {
        QTest::addColumn<bool>("configured");
        QTest::newRow("configured") << true;
        QTest::newRow("no configuration") << false;
    }

    void accountShowsTheUpdaterWhenConfigured()
    {
        QFETCH(bool, configured);
        QVariantMap info = BundleFactory::info(QStringLiteral("com.orvel.tessel-store"), QStringLiteral("1.0"), "100");
        if (configured) {
            info.insert(QStringLiteral("SUFeedURL"), m_server->url(QStringLiteral("/store.xml")).toString());
            info.insert(QStringLiteral("SUPublicEDKey"), QString::fromLatin1(QByteArray(32, '\x05').toBase64()));
        }
        const QString store =
            BundleFactory::write(m_settings.filePath(QStringLiteral("Store-%1.app").arg(configured)), info);
        auto defaults =
            std::make_shared<QSettings>(m_settings.filePath(QStringLiteral("updater.ini")), QSettings::IniFormat);
        // Not started: nothing can be checked yet.
        m_updater = std::make_unique<AppUpdater>(Bundle::at(store), UserDefaults({QStringLiteral("store")}, defaults),
                                                 AppUpdater::Services());
        AppUpdater::provide(m_updater.get());
        serveCatalog();
        open();
        click(item(QStringLiteral("section-account")));
        QTRY_VERIFY(item(QStringLiteral("version")));
        QCOMPARE(item(QStringLiteral("version"))->property("detail").toString(),
                 configured ? QStringLiteral("The Store checks for a new version of itself once a day.") : QString());
        QCOMPARE(item(QStringLiteral("checkNow"))->isVisible(), configured);
        QCOMPARE(item(QStringLiteral("automaticChecks"))->isVisible(), configured);
        if (!configured)
            return;
        QVERIFY(!item(QStringLiteral("checkNow"))->isEnabled());
        click(item(QStringLiteral("automaticChecksSwitch")));
        QVERIFY(m_updater->automaticallyChecks());
        QVERIFY(item(QStringLiteral("automaticChecksSwitch"))->property("checked").toBool());
    }

    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
    }

    void cleanup()
    {
        m_window.reset();
        delete m_root;
        m_root = nullptr;
        m_engine.reset();
        m_updater.reset();
        m_data.reset();
        m_status.reset();
        m_model.reset();
    }

    // The sidebar widens with the window; the Updates row counts the updates.
    void sidebar_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("olderCopies");
        QTest::addColumn<qreal>("sidebarWidth");
        QTest::newRow("1180 wide, three updates") << 1180 << 3 << 232.0;
        QTest::newRow("1556 wide, no update") << 1556 << 0 << 256.0;
    }

    void sidebar()
    {
        QFETCH(int, width);
        QFETCH(int, olderCopies);
        QFETCH(qreal, sidebarWidth);
        serveCatalog();
        for (const QString &id : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
            installCopy(id, olderCopies > 0 ? QStringLiteral("120") : QStringLiteral("121"));
        open(width);
        QCOMPARE(item(QStringLiteral("sidebar"))->width(), sidebarWidth);
        QQuickItem *badge = findItem(item(QStringLiteral("section-updates")), QStringLiteral("badge"));
        QCOMPARE(badge->isVisible(), olderCopies > 0);
        if (olderCopies > 0)
            QCOMPARE(findItem(badge, QStringLiteral("badgeCount"))->property("text").toString(), QStringLiteral("3"));
    }

    // A row's button acts on its own; the rest of the row opens the app's page, and only
    // another section closes it.
    void rowsOpenPagesAndButtonsAct()
    {
        serveCatalog();
        open();
        click(item(QStringLiteral("section-myApps")));
        QTRY_VERIFY(actionButton(QStringLiteral("row-b")));
        click(actionButton(QStringLiteral("row-b")));
        QTRY_VERIFY(m_model->jobs().contains(QStringLiteral("b")));
        QVERIFY(!navigation()->showsDetail());

        click(item(QStringLiteral("row-c")));
        QCOMPARE(navigation()->detailProductID(), QStringLiteral("c"));
        click(item(QStringLiteral("section-myApps")));
        QVERIFY(navigation()->showsDetail());
        click(item(QStringLiteral("section-updates")));
        QVERIFY(!navigation()->showsDetail());
        QCOMPARE(navigation()->section(), QStringLiteral("updates"));
    }

    // "Get" waits for the app's feed, then installs.
    void getIsEnabledOnceTheFeedArrives()
    {
        serveCatalog(1000);
        // The page opens while the feeds are still on their way.
        open(1180, Wait::ForCatalog);
        QTRY_VERIFY(actionButton(QStringLiteral("card-a")));
        QQuickItem *get = actionButton(QStringLiteral("card-a"));
        QCOMPARE(get->property("text").toString(), QStringLiteral("Get"));
        QVERIFY(!get->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(get->isEnabled(), 10000);
        click(get);
        QTRY_VERIFY(m_model->jobs().contains(QStringLiteral("a")));
    }

    // The viewer: its counter, the arrows at the ends, the keys, and Escape.
    void viewer()
    {
        serveCatalog();
        open();
        click(item(QStringLiteral("card-a")));
        QTRY_VERIFY(item(QStringLiteral("shot-0")));
        click(item(QStringLiteral("shot-0")));
        QQuickItem *counter = item(QStringLiteral("counter"));
        QTRY_COMPARE(counter->property("text").toString(), QStringLiteral("1 / 3"));
        QCOMPARE(item(QStringLiteral("previous"))->isEnabled(), false);
        QTest::keyClick(m_window.get(), Qt::Key_Left);
        QCOMPARE(counter->property("text").toString(), QStringLiteral("1 / 3"));
        QTest::keyClick(m_window.get(), Qt::Key_Right);
        QTest::keyClick(m_window.get(), Qt::Key_Right);
        QCOMPARE(counter->property("text").toString(), QStringLiteral("3 / 3"));
        QCOMPARE(item(QStringLiteral("next"))->isEnabled(), false);
        QCOMPARE(item(QStringLiteral("next"))->opacity(), 0.0);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QObject *state = m_root->findChild<QObject *>(QStringLiteral("viewerState"));
        QVERIFY(state);
        QCOMPARE(state->property("isOpen").toBool(), false);
    }

    // Check Again stays disabled until its load has ended, however it ends.
    void checkAgainWaitsForTheLoad_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("the load succeeds") << 200;
        QTest::newRow("the load fails") << 500;
    }

    void checkAgainWaitsForTheLoad()
    {
        QFETCH(int, status);
        serveCatalog();
        installCopy(QStringLiteral("a"), QStringLiteral("120"));
        open();
        click(item(QStringLiteral("section-updates")));
        HttpResponse slow =
            HttpResponse::ok(m_signer.envelopeOf({CatalogFixtures::app(QStringLiteral("a"))}), "application/json");
        slow.status = status;
        slow.delayMilliseconds = 300;
        m_server->respond("/v1/catalog", slow);
        QTRY_VERIFY(item(QStringLiteral("checkAgain")));
        click(item(QStringLiteral("checkAgain")));
        QVERIFY(!item(QStringLiteral("checkAgain"))->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(item(QStringLiteral("checkAgain"))->isEnabled(), 10000);
        QVERIFY(!m_status->checking());
    }

    // The search narrows the grid and hides the carousel, for any run of spaces too.
    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("shown");
        QTest::newRow("spaces and capitals") << "  NOTES FOR B " << 1;
        QTest::newRow("spaces only") << "   " << 3;
        QTest::newRow("across the joining space") << "a notes" << 1;
        QTest::newRow("nothing matches") << "zebra" << 0;
    }

    void search()
    {
        QFETCH(QString, query);
        QFETCH(int, shown);
        serveCatalog();
        open();
        QTRY_VERIFY(item(QStringLiteral("search")));
        item(QStringLiteral("search"))->setProperty("text", query);
        QObject *list = m_root->findChild<QObject *>(QStringLiteral("shown"));
        QVERIFY(list);
        QTRY_COMPARE(list->property("count").toInt(), shown);
        QTRY_VERIFY(!item(QStringLiteral("carousel")));
    }

    void longCatalogBuildsOnlyWhatIsNearTheScreen()
    {
        QList<QJsonObject> apps;
        for (int i = 0; i < 60; ++i)
            apps.append(CatalogFixtures::app(QStringLiteral("app%1").arg(i)));
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
        open(1180, Wait::ForCatalog);
        QTRY_VERIFY(item(QStringLiteral("card-app0")));
        const auto built = [this](const char *typePrefix) {
            int count = 0;
            std::function<void(QQuickItem *)> visit = [&](QQuickItem *at) {
                count += QByteArray(at->metaObject()->className()).startsWith(typePrefix) ? 1 : 0;
                for (QQuickItem *child : at->childItems())
                    visit(child);
            };
            visit(m_root);
            return count;
        };
        QVERIFY2(built("AppCard_") < 30, QByteArray::number(built("AppCard_")));
        QCOMPARE(built("Hero_"), 1);

        // Scrolled to the end: the last cards are built, the first ones let go.
        QObject *flickable = item(QStringLiteral("explorePage"))->property("contentItem").value<QObject *>();
        QVERIFY(flickable);
        flickable->setProperty("contentY",
                               flickable->property("contentHeight").toReal() - flickable->property("height").toReal());
        QTRY_VERIFY(item(QStringLiteral("card-app59")));
        QTRY_VERIFY(!item(QStringLiteral("card-app0")));
        QVERIFY(built("AppCard_") < 30);
    }

    // The switch shows the autostart entry as it is after each flip, also when the flip failed.
    void openAtLogin()
    {
        serveCatalog();
        open();
        navigation()->showSection(QStringLiteral("account"));
        QTRY_VERIFY(item(QStringLiteral("openAtLogin")));
        QQuickItem *toggle = item(QStringLiteral("openAtLogin"));
        QVERIFY(!toggle->property("checked").toBool());

        click(toggle);
        QTRY_VERIFY(toggle->property("checked").toBool());
        QVERIFY(m_startAtLogin->openAtLogin());
        QVERIFY(QFile::exists(autostartFolder() + QStringLiteral("/com.orvel.tessel-store.desktop")));
        click(toggle);
        QTRY_VERIFY(!toggle->property("checked").toBool());
        QVERIFY(!QFile::exists(autostartFolder() + QStringLiteral("/com.orvel.tessel-store.desktop")));

        // Where the folder should be, a file: nothing can be written, and the switch stays off.
        QVERIFY(QDir(autostartFolder()).removeRecursively());
        writeTestFile(autostartFolder(), "not a folder");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Tessel Store: login item: could not write ")));
        click(toggle);
        QTest::qWait(50);
        QVERIFY(!toggle->property("checked").toBool());
        QVERIFY(QFile::remove(autostartFolder()));
    }
};

int main(int argc, char *argv[])
{
    return runWindowTest<ScreensTest>(argc, argv);
}

#include "tst_screens.moc"
