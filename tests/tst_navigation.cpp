#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "presentation/storenavigation.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace CatalogFixtures;

// A window's section and path through the real model: the launch options, the sidebar, the
// show-section message and the detail page.
class NavigationTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;

    // A model whose catalog holds lumen and quire, loaded.
    std::unique_ptr<StoreModel> loadedModel()
    {
        auto model = m_fixture->makeModel();
        QCoro::waitFor(model->loadCatalog());
        if (model->apps().size() != 2)
            qFatal("the test catalog did not load");
        return model;
    }

    static UserDefaults arguments(const QStringList &options)
    {
        return UserDefaults(QStringList{QStringLiteral("tessel-store")} + options, nullptr);
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("lumen")),
                                                                               app(QStringLiteral("quire"))}),
                                                          "application/json"));
    }

    void firstSectionComesFromTheDefaults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("title");
        QTest::newRow("no default") << QStringList{} << "explore"
                                    << "Explore";
        QTest::newRow("updates") << QStringList{"-section", "updates"} << "updates"
                                 << "Updates";
        QTest::newRow("wrong case") << QStringList{"-section", "Updates"} << "explore"
                                    << "Explore";
        QTest::newRow("no section at all") << QStringList{"-section", "settings"} << "explore"
                                           << "Explore";
        QTest::newRow("the last option wins") << QStringList{"-section", "updates", "-section", "myApps"} << "myApps"
                                              << "My Apps";
    }

    void firstSectionComesFromTheDefaults()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, section);
        QFETCH(QString, title);
        StoreNavigation navigation(arguments(options));
        QCOMPARE(navigation.section(), section);
        QCOMPARE(navigation.sectionTitle(), title);
        QVERIFY(!navigation.showsDetail());
    }

    void storedSectionIsReadOnceAndNeverWritten()
    {
        QTemporaryDir folder;
        const auto settings =
            std::make_shared<QSettings>(folder.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
        settings->setValue(QStringLiteral("section"), QStringLiteral("account"));
        StoreNavigation navigation(UserDefaults({QStringLiteral("tessel-store")}, settings));
        QCOMPARE(navigation.section(), QStringLiteral("account"));
        settings->setValue(QStringLiteral("section"), QStringLiteral("updates"));
        navigation.select(QStringLiteral("myApps"));
        QCOMPARE(navigation.section(), QStringLiteral("myApps"));
        QCOMPARE(settings->value(QStringLiteral("section")).toString(), QStringLiteral("updates"));
    }

    void openAppOption_data()
    {
        QTest::addColumn<QString>("requested");   // the "openApp" default, or none
        QTest::addColumn<QString>("openedFirst"); // a page the user opened before the catalog came
        QTest::addColumn<bool>("modelAfterLoad"); // the model handed over with its catalog loaded
        QTest::addColumn<QStringList>("path");
        QTest::newRow("an app of the catalog") << "quire"
                                               << "" << false << QStringList{"quire"};
        QTest::newRow("a model that has its catalog already") << "quire"
                                                              << "" << true << QStringList{"quire"};
        QTest::newRow("an unknown app") << "tally"
                                        << "" << false << QStringList{};
        QTest::newRow("the wrong case") << "Quire"
                                        << "" << false << QStringList{};
        QTest::newRow("a page already open") << "quire"
                                             << "lumen" << false << QStringList{"lumen"};
        QTest::newRow("no option") << ""
                                   << "" << false << QStringList{};
    }

    void openAppOption()
    {
        QFETCH(QString, requested);
        QFETCH(QString, openedFirst);
        QFETCH(bool, modelAfterLoad);
        QFETCH(QStringList, path);
        StoreNavigation navigation(
            arguments(requested.isEmpty() ? QStringList{} : QStringList{QStringLiteral("-openApp"), requested}));
        std::unique_ptr<StoreModel> model;
        if (modelAfterLoad) {
            model = loadedModel();
            navigation.setModel(model.get());
        } else {
            model = m_fixture->makeModel();
            navigation.setModel(model.get());
            QVERIFY(!navigation.showsDetail()); // nothing to open before the catalog
            if (!openedFirst.isEmpty())
                navigation.openApp(openedFirst);
            QCoro::waitFor(model->loadCatalog());
        }
        QCOMPARE(navigation.path(), path);
        QCOMPARE(navigation.detailProductID(), path.value(0));
        QCOMPARE(navigation.section(), QStringLiteral("explore"));
    }

    void openAppOptionActsOnlyWhenTheCatalogComesOrGoes()
    {
        StoreNavigation navigation(arguments({QStringLiteral("-openApp"), QStringLiteral("quire")}));
        const auto model = m_fixture->makeModel();
        navigation.setModel(model.get());
        QCoro::waitFor(model->loadCatalog());
        navigation.back();
        QSignalSpy path(&navigation, &StoreNavigation::pathChanged);
        // The same catalog again: still not empty, so the page the user left stays closed.
        QCoro::waitFor(model->loadCatalog());
        QCOMPARE(path.count(), 0);
    }

    void sidebarAndDetailPage_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("showsDetail");
        QTest::addColumn<int>("sectionChanges");
        QTest::newRow("another section closes the page") << "myApps"
                                                         << "myApps" << false << 1;
        QTest::newRow("the selected section keeps it") << "updates"
                                                       << "updates" << true << 0;
        QTest::newRow("no section's name") << "nonsense"
                                           << "updates" << true << 0;
    }

    void sidebarAndDetailPage()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, section);
        QFETCH(bool, showsDetail);
        QFETCH(int, sectionChanges);
        StoreNavigation navigation(arguments({QStringLiteral("-section"), QStringLiteral("updates")}));
        navigation.openApp(QStringLiteral("lumen"));
        QSignalSpy sectionChanged(&navigation, &StoreNavigation::sectionChanged);
        navigation.select(chosen);
        QCOMPARE(navigation.section(), section);
        QCOMPARE(navigation.showsDetail(), showsDetail);
        QCOMPARE(sectionChanged.count(), sectionChanges);
    }

    void showSectionMessage_data()
    {
        QTest::addColumn<QVariant>("object");
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("showsDetail");
        QTest::newRow("a section's raw value") << QVariant(QStringLiteral("myApps")) << "myApps" << false;
        QTest::newRow("a string that is none") << QVariant(QStringLiteral("nonsense")) << "explore" << true;
        QTest::newRow("a number") << QVariant(2) << "explore" << true;
        // A list of one string converts to that string; it is still no string.
        QTest::newRow("a list holding a raw value") << QVariant(QStringList{"myApps"}) << "explore" << true;
        QTest::newRow("nothing") << QVariant() << "explore" << true;
    }

    void showSectionMessage()
    {
        QFETCH(QVariant, object);
        QFETCH(QString, section);
        QFETCH(bool, showsDetail);
        StoreNavigation navigation(arguments({}));
        navigation.openApp(QStringLiteral("lumen"));
        navigation.showSection(object);
        QCOMPARE(navigation.section(), section);
        QCOMPARE(navigation.showsDetail(), showsDetail);
    }

    void backLeavesTheDetailPage()
    {
        StoreNavigation navigation(arguments({QStringLiteral("-section"), QStringLiteral("myApps")}));
        QSignalSpy path(&navigation, &StoreNavigation::pathChanged);
        navigation.back(); // nothing open: nothing happens
        QCOMPARE(path.count(), 0);
        navigation.openApp(QStringLiteral("lumen"));
        navigation.openApp(QStringLiteral("quire")); // one page at a time
        QCOMPARE(navigation.path(), QStringList{QStringLiteral("quire")});
        QCOMPARE(navigation.sectionTitle(), QStringLiteral("My Apps"));
        navigation.back();
        QVERIFY(!navigation.showsDetail());
        QCOMPARE(navigation.detailProductID(), QString());
        QCOMPARE(navigation.section(), QStringLiteral("myApps"));
        QCOMPARE(path.count(), 3);
    }
};

QTEST_GUILESS_MAIN(NavigationTest)
#include "tst_navigation.moc"
