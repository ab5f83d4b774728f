#include "harness/bundlefactory.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace CatalogFixtures;

namespace {

QByteArray feed(const QString &build)
{
    return "<?xml version=\"1.0\"?><rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
           "<item><sparkle:version>" +
           build.toUtf8() + "</sparkle:version><enclosure url=\"https://downloads.orvel.example/" + build.toUtf8() +
           ".zip\" length=\"10\"/></item></channel></rss>";
}

HttpResponse feedResponse(const QString &build, int delayMilliseconds = 0)
{
    HttpResponse response = HttpResponse::ok(feed(build), "application/rss+xml");
    response.delayMilliseconds = delayMilliseconds;
    return response;
}

} // namespace

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;

    // An app whose feed is served by the test server at /feeds/ID.xml.
    QJsonObject appWithFeed(const QString &productID) const
    {
        QJsonObject app = CatalogFixtures::app(productID);
        app.insert(QStringLiteral("appcastURL"),
                   m_server->url(QStringLiteral("/feeds/%1.xml").arg(productID)).toString());
        return app;
    }

    void serveCatalog(const QStringList &productIDs)
    {
        QList<QJsonObject> apps;
        for (const QString &id : productIDs)
            apps.append(appWithFeed(id));
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
    }

    void serveFeed(const QString &productID, const HttpResponse &response)
    {
        m_server->respond(QStringLiteral("/feeds/%1.xml").arg(productID).toLatin1(), response);
    }

    QString install(const QString &productID, const QString &build) const
    {
        return BundleFactory::write(m_fixture->environment.locations.systemApplications + u'/' + productID +
                                        QStringLiteral(".app"),
                                    BundleFactory::info(QStringLiteral("com.orvel.") + productID, QString(), build));
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
    }

    void loadGoesAllTheWay()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("121")));
        serveFeed(QStringLiteral("b"), feedResponse(QStringLiteral("7")));
        install(QStringLiteral("a"), QStringLiteral("120"));
        install(QStringLiteral("b"), QStringLiteral("7"));
        const auto model = m_fixture->makeModel();
        QSignalSpy updatesChanged(model.get(), &StoreModel::updatesChanged);
        QCoro::waitFor(model->load());

        QCOMPARE(model->installed().keys(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(model->installed().value(QStringLiteral("a")).build, QStringLiteral("120"));
        // c's feed answers 404: no release, and c is not installed anyway.
        QCOMPARE(model->releases().keys(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(productIDs(model->updates()), QStringList{QStringLiteral("a")});
        QCOMPARE(model->lastChecked(), m_fixture->environment.now());
        QVERIFY(updatesChanged.count() > 0);
        QCOMPARE(model->checkFailures().keys(), QStringList{QStringLiteral("c")});
        const AppcastFetch::Problem failure = model->checkFailures().value(QStringLiteral("c"));
        QCOMPARE(failure.failure, AppcastFetch::Failure::Unreadable);
        QVERIFY(failure.answered);
        QCOMPARE(failure.detail,
                 QStringLiteral("%1 answered 404").arg(m_server->url(QStringLiteral("/feeds/c.xml")).toString()));
        QVERIFY(!model->catalogOrigin().isCached());
    }

    void updatesCompareBuildsOnly_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("update");
        QTest::newRow("newer") << "121" << true;
        QTest::newRow("same") << "120" << false;
        QTest::newRow("same, written longer") << "120.0" << false;
        QTest::newRow("older") << "119" << false;
    }

    void updatesCompareBuildsOnly()
    {
        QFETCH(QString, release);
        QFETCH(bool, update);
        serveCatalog({QStringLiteral("a"), QStringLiteral("notinstalled")});
        serveFeed(QStringLiteral("a"), feedResponse(release));
        serveFeed(QStringLiteral("notinstalled"), feedResponse(QStringLiteral("999")));
        install(QStringLiteral("a"), QStringLiteral("120"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(productIDs(model->updates()), update ? QStringList{QStringLiteral("a")} : QStringList());
    }

    void quickFeedLandsBeforeSlowFeedFinishes()
    {
        serveCatalog({QStringLiteral("slow"), QStringLiteral("quick")});
        serveFeed(QStringLiteral("slow"), feedResponse(QStringLiteral("2"), 1500));
        serveFeed(QStringLiteral("quick"), feedResponse(QStringLiteral("2")));
        install(QStringLiteral("slow"), QStringLiteral("1"));
        install(QStringLiteral("quick"), QStringLiteral("1"));
        const auto model = m_fixture->makeModel();
        QCoro::Task<> load = model->load();
        QTRY_VERIFY_WITH_TIMEOUT(model->releases().contains(QStringLiteral("quick")), 5000);
        QVERIFY(!model->releases().contains(QStringLiteral("slow")));
        QCOMPARE(productIDs(model->updates()), QStringList{QStringLiteral("quick")});
        QVERIFY(!model->lastChecked().isValid());
        QCoro::waitFor(std::move(load));
        QCOMPARE(productIDs(model->updates()), (QStringList{QStringLiteral("slow"), QStringLiteral("quick")}));
    }

    void failedFeedKeepsTheEarlierRelease()
    {
        int tick = 0;
        m_fixture->environment.now = [&tick] { return QDateTime::fromSecsSinceEpoch(1'800'000'000 + ++tick, Qt::UTC); };
        serveCatalog({QStringLiteral("a"), QStringLiteral("b")});
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("5")));
        serveFeed(QStringLiteral("b"), feedResponse(QStringLiteral("6")));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        const QDateTime first = model->lastChecked();

        HttpResponse stalled;
        stalled.stall = true; // the fixture's session gives up after two seconds
        serveFeed(QStringLiteral("a"), stalled);
        serveFeed(QStringLiteral("b"), feedResponse(QStringLiteral("8")));
        QSignalSpy releasesChanged(model.get(), &StoreModel::releasesChanged);
        QCoro::waitFor(model->load());
        QCOMPARE(model->releases().value(QStringLiteral("a")).build, QStringLiteral("5"));
        QCOMPARE(model->releases().value(QStringLiteral("b")).build, QStringLiteral("8"));
        QCOMPARE(releasesChanged.count(), 1);
        QVERIFY(model->lastChecked() > first);
    }

    void everyFeedFailingStillSetsLastChecked()
    {
        // Offline: the catalog comes from the cache, and every feed is refused.
        const QUrl offline = TestServer::refusingURL();
        QJsonObject a = CatalogFixtures::app(QStringLiteral("a"));
        a.insert(QStringLiteral("appcastURL"), offline.resolved(QUrl(QStringLiteral("a.xml"))).toString());
        m_fixture = std::make_unique<ModelFixture>(m_signer, offline);
        m_fixture->writeCache(m_signer.envelopeOf({a}));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(model->loadState(), StoreModel::LoadState::Ready);
        QVERIFY(model->releases().isEmpty());
        QCOMPARE(model->lastChecked(), m_fixture->environment.now());
        // ... and the model knows that it read nothing, and from where its catalog came.
        QCOMPARE(model->checkFailures().keys(), QStringList{QStringLiteral("a")});
        QVERIFY(!model->checkFailures().value(QStringLiteral("a")).answered);
        QVERIFY(model->catalogOrigin().isCached());
        QCOMPARE(model->catalogOrigin().savedAt, QFileInfo(m_fixture->cacheFile()).lastModified().toUTC());
        QVERIFY(model->loadProblem().startsWith(QStringLiteral("no answer from ")));
    }

    // An app leaves the failures when its feed is read again; a feed with nothing this system
    // runs was read.
    void checkFailuresFollowEachFeed()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b")});
        serveFeed(QStringLiteral("b"), HttpResponse::ok("<rss><channel/></rss>", "application/rss+xml"));
        const auto model = m_fixture->makeModel();
        QSignalSpy changed(model.get(), &StoreModel::checkFailuresChanged);
        QCoro::waitFor(model->load());
        QCOMPARE(model->checkFailures().keys(), QStringList{QStringLiteral("a")});
        QCOMPARE(changed.count(), 1);
        QCoro::waitFor(model->load());
        QCOMPARE(changed.count(), 1); // the same failure again is silent
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("3")));
        QCoro::waitFor(model->load());
        QVERIFY(model->checkFailures().isEmpty());
        QCOMPARE(changed.count(), 2);
    }

    void sameReleaseAgainStillNotifies()
    {
        serveCatalog({QStringLiteral("a")});
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("5")));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QSignalSpy releasesChanged(model.get(), &StoreModel::releasesChanged);
        QSignalSpy releaseChanged(model.get(), &StoreModel::releaseChanged);
        QSignalSpy updatesChanged(model.get(), &StoreModel::updatesChanged);
        QCoro::waitFor(model->checkForUpdates());
        QCOMPARE(releasesChanged.count(), 1);
        QCOMPARE(releaseChanged.count(), 1);
        QCOMPARE(releaseChanged.first().first().toString(), QStringLiteral("a"));
        // The list of updates is a value: the same list again is silent.
        QCOMPARE(updatesChanged.count(), 0);
    }

    void rescanFindingTheSameCopiesIsSilent()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b")});
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("5")));
        install(QStringLiteral("a"), QStringLiteral("4"));
        install(QStringLiteral("b"), QStringLiteral("1")); // its feed is never read: no update
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(productIDs(model->updates()), QStringList{QStringLiteral("a")});
        QSignalSpy installedChanged(model.get(), &StoreModel::installedChanged);
        QSignalSpy updatesChanged(model.get(), &StoreModel::updatesChanged);
        model->scanInstalled();
        QCOMPARE(installedChanged.count(), 0);
        QCOMPARE(updatesChanged.count(), 0);
        install(QStringLiteral("a"), QStringLiteral("5"));
        model->scanInstalled();
        QCOMPARE(installedChanged.count(), 1);
        QCOMPARE(updatesChanged.count(), 1);
        QVERIFY(model->updates().isEmpty());
    }

    void deletedAppLeavesInstalledWithoutAnyAction()
    {
        serveCatalog({QStringLiteral("a")});
        const QString bundle = install(QStringLiteral("a"), QStringLiteral("1"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QVERIFY(model->installed().contains(QStringLiteral("a")));

        QElapsedTimer sinceDelete;
        QVERIFY(QDir(bundle).removeRecursively());
        sinceDelete.start();
        QTRY_VERIFY_WITH_TIMEOUT(model->installed().isEmpty(), 5000);
        QVERIFY2(sinceDelete.elapsed() >= 450, "the rescan did not wait for the folder to be quiet");
    }

    void becomingActiveRescansWithoutFetching()
    {
        serveCatalog({QStringLiteral("a")});
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("2")));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QVERIFY(model->installed().isEmpty());
        // Installed where no watcher looks (a registered location), then the app is activated.
        const QString elsewhere = m_fixture->environment.locations.systemApplications + QStringLiteral("/Suite/a.app");
        BundleFactory::write(elsewhere,
                             BundleFactory::info(QStringLiteral("com.orvel.a"), QString(), QStringLiteral("1")));
        QVERIFY(m_fixture->environment.registry->registerApplication(elsewhere));
        model->applicationBecameActive();
        QCOMPARE(model->installed().value(QStringLiteral("a")).url, elsewhere);
        QCOMPARE(productIDs(model->updates()), QStringList{QStringLiteral("a")});
        QCOMPARE(m_server->hits("/v1/catalog"), 1);
        QCOMPARE(m_server->hits("/feeds/a.xml"), 1);
    }

    void repeatedProductIDKeepsTheFirstRecord()
    {
        QJsonObject second = appWithFeed(QStringLiteral("a"));
        second.insert(QStringLiteral("name"), QStringLiteral("Second"));
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({appWithFeed(QStringLiteral("a")), second,
                                                                               appWithFeed(QStringLiteral("b"))}),
                                                          "application/json"));
        serveFeed(QStringLiteral("a"), feedResponse(QStringLiteral("2")));
        install(QStringLiteral("a"), QStringLiteral("1"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(productIDs(model->apps()), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(model->apps().first().name, QStringLiteral("A"));
        QCOMPARE(productIDs(model->updates()), QStringList{QStringLiteral("a")});
        QCOMPARE(m_server->hits("/feeds/a.xml"), 1);
    }
};

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "tst_updatecheck.moc"
