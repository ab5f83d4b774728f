#include "harness/bundlefactory.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "presentation/appfiltermodel.h"
#include "presentation/appitem.h"
#include "presentation/applistmodel.h"
#include "presentation/storestatus.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

using namespace CatalogFixtures;
using Action = AppState::Action;
using Badge = AppState::Badge;

namespace {

// What the test makes of one app's job before looking at its state.
enum class JobSetup { None, Failed, Working };

constexpr qsizetype archiveSize = 8 * 1024 * 1024;

} // namespace

class PresentationTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;

    // Apps with a feed at /feeds/ID.xml, a tagline and a short version "2.2" per release.
    void serveCatalog(const QStringList &productIDs)
    {
        QList<QJsonObject> apps;
        for (const QString &id : productIDs) {
            QJsonObject app = CatalogFixtures::app(id);
            app.insert(QStringLiteral("name"), id.toUpper());
            app.insert(QStringLiteral("tagline"),
                       QJsonObject{{QStringLiteral("en"), QStringLiteral("Notes for ") + id}});
            app.insert(QStringLiteral("appcastURL"), m_server->url(QStringLiteral("/feeds/%1.xml").arg(id)).toString());
            apps.append(app);
        }
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
    }

    // A release whose archive never comes, so that its install stays at its start; or a
    // large one that comes whole (and then fails its signature check).
    enum class Archive { Held, Whole };
    void serveRelease(const QString &productID, const QString &build, Archive archiveAnswer = Archive::Held)
    {
        const QString archive = QStringLiteral("/archives/%1.zip").arg(productID);
        const QByteArray feed =
            "<rss><channel><item><sparkle:version>" + build.toUtf8() +
            "</sparkle:version><sparkle:shortVersionString>2.2</sparkle:shortVersionString><enclosure url=\"" +
            m_server->url(archive).toString().toUtf8() + "\" sparkle:edSignature=\"AA==\"/></item></channel></rss>";
        m_server->respond(QStringLiteral("/feeds/%1.xml").arg(productID).toLatin1(),
                          HttpResponse::ok(feed, "application/rss+xml"));
        HttpResponse answer = HttpResponse::ok(QByteArray(archiveSize, 'z'), "application/zip");
        answer.stall = archiveAnswer == Archive::Held;
        m_server->respond(archive.toLatin1(), answer);
    }

    void installCopy(const QString &productID, const QString &shortVersion, const QString &build)
    {
        BundleFactory::write(m_fixture->environment.locations.systemApplications + u'/' + productID +
                                 QStringLiteral(".app"),
                             BundleFactory::info(QStringLiteral("com.orvel.") + productID, shortVersion, build));
    }

    static CatalogApp appOf(const StoreModel &model, const QString &productID)
    {
        for (const CatalogApp &app : model.apps()) {
            if (app.productID == productID)
                return app;
        }
        return {};
    }

    // Puts the app's job into the asked state through the model's own operations.
    static void makeJob(StoreModel &model, const QString &productID, JobSetup setup)
    {
        if (setup == JobSetup::None)
            return;
        model.install(appOf(model, productID));
        if (setup == JobSetup::Failed)
            QTRY_COMPARE(model.jobs().value(productID).state, Job::State::Failed);
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
    }

    // One row per rule of the button and of the badge, in their order of precedence.
    void stateRules_data()
    {
        QTest::addColumn<QString>("installed"); // the copy's build, or none
        QTest::addColumn<QString>("release");   // the feed's build, or no feed
        QTest::addColumn<JobSetup>("job");
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<Badge>("badge");

        QTest::newRow("a failure beats an installed copy")
            << "120"
            << "" << JobSetup::Failed << Action::TryAgain << true << Badge::Installed;
        QTest::newRow("a failure beats a missing copy")
            << ""
            << "" << JobSetup::Failed << Action::TryAgain << true << Badge::None;
        QTest::newRow("a running job shows its progress")
            << "120"
            << "121" << JobSetup::Working << Action::Installing << false << Badge::Update;
        QTest::newRow("not installed, release known") << ""
                                                      << "121" << JobSetup::None << Action::Get << true << Badge::None;
        QTest::newRow("not installed, no release") << ""
                                                   << "" << JobSetup::None << Action::Get << false << Badge::None;
        QTest::newRow("an older copy") << "120"
                                       << "121" << JobSetup::None << Action::Update << true << Badge::Update;
        QTest::newRow("the release's build") << "121"
                                             << "121" << JobSetup::None << Action::Open << true << Badge::Installed;
        QTest::newRow("a newer copy") << "122"
                                      << "121" << JobSetup::None << Action::Open << true << Badge::Installed;
        QTest::newRow("installed, feed unread") << "120"
                                                << "" << JobSetup::None << Action::Open << true << Badge::Installed;
    }

    void stateRules()
    {
        QFETCH(QString, installed);
        QFETCH(QString, release);
        QFETCH(JobSetup, job);
        QFETCH(Action, action);
        QFETCH(bool, enabled);
        QFETCH(Badge, badge);
        serveCatalog({QStringLiteral("a")});
        if (!release.isEmpty())
            serveRelease(QStringLiteral("a"), release);
        if (!installed.isEmpty())
            installCopy(QStringLiteral("a"), QStringLiteral("2.1"), installed);
        const auto model = m_fixture->makeModel();
        AppItem item(model.get(), QStringLiteral("a"));
        QSignalSpy changed(&item, &AppItem::stateChanged);
        QCoro::waitFor(model->load());
        makeJob(*model, QStringLiteral("a"), job);

        QCOMPARE(item.action(), action);
        QCOMPARE(item.actionEnabled(), enabled);
        QCOMPARE(item.badge(), badge);
        QCOMPARE(item.state(), AppState::of(*model, appOf(*model, QStringLiteral("a"))));
        QVERIFY(changed.count() > 0);
        QCOMPARE(item.failureMessage().isEmpty(), job != JobSetup::Failed);
        // A download that has not reported yet spins.
        QCOMPARE(item.indeterminate(), job == JobSetup::Working);
    }

    void progressIsDeterminateStrictlyInside_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<bool>("determinate");
        QTest::newRow("not reported yet") << 0.0 << false;
        QTest::newRow("half") << 0.5 << true;
        QTest::newRow("almost done") << 0.99 << true;
        QTest::newRow("done") << 1.0 << false;
        QTest::newRow("past the end") << 1.5 << false;
        QTest::newRow("not a number") << std::nan("") << false;
        QTest::newRow("negative") << -0.1 << false;
    }

    void progressIsDeterminateStrictlyInside()
    {
        QFETCH(double, fraction);
        QFETCH(bool, determinate);
        QCOMPARE(AppState::isDeterminate(fraction), determinate);
    }

    void rowDetailLines()
    {
        serveCatalog({QStringLiteral("fresh"), QStringLiteral("old"), QStringLiteral("unread")});
        serveRelease(QStringLiteral("old"), QStringLiteral("121"));
        installCopy(QStringLiteral("old"), QStringLiteral("2.1"), QStringLiteral("120"));
        installCopy(QStringLiteral("unread"), QStringLiteral("1.4"), QStringLiteral("14"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        const AppState fresh = AppState::of(*model, appOf(*model, QStringLiteral("fresh")));
        QCOMPARE(fresh.detail, QStringLiteral("Notes for fresh"));
        QCOMPARE(fresh.updateDetail, QStringLiteral("Notes for fresh"));
        const AppState old = AppState::of(*model, appOf(*model, QStringLiteral("old")));
        QCOMPARE(old.detail, QStringLiteral("Version 2.1"));
        QCOMPARE(old.updateDetail, QStringLiteral("2.1 \u2192 2.2"));
        QCOMPARE(old.installedBuild, QStringLiteral("120"));
        QCOMPARE(old.availableBuild, QStringLiteral("121"));
        const AppState unread = AppState::of(*model, appOf(*model, QStringLiteral("unread")));
        QCOMPARE(unread.updateDetail, QStringLiteral("Version 1.4"));
    }

    void activateDoesWhatTheButtonSays()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b")});
        serveRelease(QStringLiteral("a"), QStringLiteral("121"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        AppItem unknown(model.get(), QStringLiteral("b"));
        QCOMPARE(unknown.action(), Action::Get);
        unknown.activate(); // disabled: no release, so nothing starts
        QVERIFY(!model->jobs().contains(QStringLiteral("b")));

        AppItem item(model.get(), QStringLiteral("a"));
        item.activate();
        QCOMPARE(item.action(), Action::Installing);
        item.activate(); // while installing: nothing
        QCOMPARE(model->jobs().size(), 1);
    }

    void tryAgainClearsTheFailureAndInstalls()
    {
        serveCatalog({QStringLiteral("a")});
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        AppItem item(model.get(), QStringLiteral("a"));
        makeJob(*model, QStringLiteral("a"), JobSetup::Failed);
        QCOMPARE(item.action(), Action::TryAgain);
        // The feed is there now: trying again reaches the download.
        serveRelease(QStringLiteral("a"), QStringLiteral("121"));
        QCoro::waitFor(model->load());
        item.activate();
        QCOMPARE(item.action(), Action::Installing);
        QVERIFY(item.failureMessage().isEmpty());
    }

    void listFollowsTheCatalogAndOneAppAtATime()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        serveRelease(QStringLiteral("b"), QStringLiteral("121"), Archive::Whole);
        const auto model = m_fixture->makeModel();
        AppListModel list(model.get());
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy count(&list, &AppListModel::countChanged);
        QCoro::waitFor(model->load());
        QCOMPARE(list.count(), 3);
        QCOMPARE(count.count(), 1);
        QCOMPARE(list.index(1).data(AppListModel::NameRole).toString(), QStringLiteral("B"));
        QCOMPARE(list.index(1).data(AppListModel::TaglineRole).toString(), QStringLiteral("Notes for b"));

        // Every download report the model keeps is one dataChanged, on the app's row only.
        int kept = 0;
        connect(model.get(), &StoreModel::jobChanged, this,
                [&kept, &model](const QString &id) { kept += model->jobs().value(id).state == Job::State::Working; });
        QSignalSpy dataChanged(&list, &AppListModel::dataChanged);
        QCoro::waitFor(model->install(appOf(*model, QStringLiteral("b"))));
        QVERIFY(kept >= 2);                      // the start and at least one report
        QCOMPARE(dataChanged.count(), kept + 1); // and one when the job failed
        for (const QList<QVariant> &change : std::as_const(dataChanged))
            QCOMPARE(change.at(0).toModelIndex().row(), 1);
        QVERIFY(!dataChanged.at(1).at(2).value<QList<int>>().contains(AppListModel::NameRole));
        QCOMPARE(list.index(1).data(AppListModel::ActionRole).value<Action>(), Action::TryAgain);

        serveCatalog({QStringLiteral("a")});
        QCoro::waitFor(model->load());
        QCOMPARE(list.count(), 1);
        QCOMPARE(count.count(), 2);
    }

    void searchRule_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matches");
        // The app is named "Lumen", its tagline "Light for your photos".
        QTest::newRow("empty") << "" << true;
        QTest::newRow("spaces only") << "   " << true;
        QTest::newRow("tabs and spaces around") << "\t lumen \t" << true;
        QTest::newRow("capital letters") << "LIGHT" << true;
        QTest::newRow("across the joining space") << "men li" << true;
        QTest::newRow("two spaces across the join") << "men  li" << false;
        QTest::newRow("a newline is not trimmed") << "lumen\n" << false;
        QTest::newRow("inside a word") << "otos" << true;
        QTest::newRow("nothing") << "quire" << false;
        QTest::newRow("words out of order") << "photos light" << false;
    }

    void searchRule()
    {
        QFETCH(QString, query);
        QFETCH(bool, matches);
        QCOMPARE(AppFilterModel::matches(query, QStringLiteral("Lumen"), QStringLiteral("Light for your photos")),
                 matches);
    }

    void scopesAndFiltersKeepCatalogOrder_data()
    {
        QTest::addColumn<AppFilterModel::Scope>("scope");
        QTest::addColumn<AppFilterModel::Filter>("filter");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("shown");
        using Scope = AppFilterModel::Scope;
        using Filter = AppFilterModel::Filter;
        // a: installed and current, b: not installed, c: installed with an update, d: not installed.
        QTest::newRow("everything") << Scope::All << Filter::All << "" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("installed") << Scope::All << Filter::Installed << "" << QStringList{"a", "c"};
        QTest::newRow("not installed") << Scope::All << Filter::NotInstalled << "" << QStringList{"b", "d"};
        QTest::newRow("search and filter") << Scope::All << Filter::NotInstalled << "for d" << QStringList{"d"};
        QTest::newRow("updates") << Scope::Updates << Filter::All << "" << QStringList{"c"};
        QTest::newRow("my apps") << Scope::Installed << Filter::All << "" << QStringList{"a", "c"};
        QTest::newRow("not on this machine") << Scope::NotInstalled << Filter::All << "" << QStringList{"b", "d"};
        QTest::newRow("scope and filter disagree") << Scope::Installed << Filter::NotInstalled << "" << QStringList{};
        QTest::newRow("matching nothing") << Scope::All << Filter::All << "zzz" << QStringList{};
    }

    void scopesAndFiltersKeepCatalogOrder()
    {
        QFETCH(AppFilterModel::Scope, scope);
        QFETCH(AppFilterModel::Filter, filter);
        QFETCH(QString, query);
        QFETCH(QStringList, shown);
        serveCatalog({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
        serveRelease(QStringLiteral("c"), QStringLiteral("121"));
        installCopy(QStringLiteral("a"), QStringLiteral("1.0"), QStringLiteral("1"));
        installCopy(QStringLiteral("c"), QStringLiteral("2.1"), QStringLiteral("120"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        AppListModel list(model.get());
        AppFilterModel filtered;
        QAbstractItemModelTester tester(&filtered, QAbstractItemModelTester::FailureReportingMode::QtTest);
        filtered.setSourceModel(&list);
        QSignalSpy count(&filtered, &AppFilterModel::countChanged);
        filtered.setScope(scope);
        filtered.setFilter(filter);
        filtered.setQuery(query);
        QTRY_COMPARE(filtered.count(), int(shown.size()));
        QStringList ids;
        for (int row = 0; row < filtered.rowCount(); ++row)
            ids.append(filtered.index(row, 0).data(AppListModel::ProductIDRole).toString());
        QCOMPARE(ids, shown);
        // Three properties set together filter once.
        QCOMPARE(count.count(), shown.size() == 4 ? 0 : 1);
    }

    // A smaller catalog that changes an app waiting for its update: the model reports the
    // changed updates before the list has heard of the catalog, and the list must not read
    // past the new one.
    void aSmallerCatalogChangesAnUpdate()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        serveRelease(QStringLiteral("c"), QStringLiteral("121"));
        installCopy(QStringLiteral("c"), QStringLiteral("2.1"), QStringLiteral("120"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        AppListModel list(model.get());
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model->updates().size(), 1);

        QJsonObject renamed = CatalogFixtures::app(QStringLiteral("c"));
        renamed.insert(QStringLiteral("name"), QStringLiteral("Renamed"));
        renamed.insert(QStringLiteral("appcastURL"), m_server->url(QStringLiteral("/feeds/c.xml")).toString());
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({renamed}), "application/json"));
        QCoro::waitFor(model->load());
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.index(0).data(AppListModel::NameRole).toString(), QStringLiteral("Renamed"));
        QCOMPARE(list.index(0).data(AppListModel::ActionRole).value<Action>(), Action::Update);
    }

    void anUpdateLeavesTheUpdatesList()
    {
        serveCatalog({QStringLiteral("c")});
        serveRelease(QStringLiteral("c"), QStringLiteral("121"));
        installCopy(QStringLiteral("c"), QStringLiteral("2.1"), QStringLiteral("120"));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        AppListModel list(model.get());
        AppFilterModel updates;
        updates.setSourceModel(&list);
        updates.setScope(AppFilterModel::Scope::Updates);
        QTRY_COMPARE(updates.count(), 1);
        installCopy(QStringLiteral("c"), QStringLiteral("2.2"), QStringLiteral("121"));
        model->scanInstalled();
        QCOMPARE(updates.count(), 0);
    }

    void statusFollowsTheStore()
    {
        serveCatalog({QStringLiteral("a")});
        serveRelease(QStringLiteral("a"), QStringLiteral("121"));
        installCopy(QStringLiteral("a"), QStringLiteral("2.1"), QStringLiteral("120"));
        const auto model = m_fixture->makeModel();
        StoreStatus status(model.get());
        QSignalSpy checking(&status, &StoreStatus::checkingChanged);
        QSignalSpy updates(&status, &StoreStatus::updateCountChanged);
        QCOMPARE(status.loadState(), StoreModel::LoadState::Loading);
        status.reload();
        QVERIFY(status.checking());
        QTRY_VERIFY(!status.checking());
        QCOMPARE(checking.count(), 2);
        QCOMPARE(status.loadState(), StoreModel::LoadState::Ready);
        QCOMPARE(status.updateCount(), 1);
        QCOMPARE(updates.count(), 1);
        QVERIFY(status.lastChecked().isValid());
        // A check that fails still ends.
        m_server->respond("/v1/catalog", HttpResponse::notFound());
        status.reload();
        QTRY_VERIFY(!status.checking());
        QCOMPARE(checking.count(), 4);
    }

    void updatesHeader_data()
    {
        QTest::addColumn<int>("updates");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("canUpdateAll");
        QTest::newRow("none") << 0 << "Everything is up to date." << false;
        QTest::newRow("one") << 1 << "One app to update." << false;
        QTest::newRow("three") << 3 << "3 apps to update." << true;
    }

    void updatesHeader()
    {
        QFETCH(int, updates);
        QFETCH(QString, line);
        QFETCH(bool, canUpdateAll);
        const QStringList ids{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
        serveCatalog(ids);
        // Every app installed; the first ones have a newer release, the last is current.
        for (int i = 0; i < ids.size(); ++i) {
            serveRelease(ids[i], QStringLiteral("121"));
            installCopy(ids[i], QStringLiteral("2.1"), i < updates ? QStringLiteral("120") : QStringLiteral("121"));
        }
        const auto model = m_fixture->makeModel();
        StoreStatus status(model.get());
        QSignalSpy changed(&status, &StoreStatus::updateCountChanged);
        QCoro::waitFor(model->load());
        QCOMPARE(status.updatesLine(), line);
        QCOMPARE(status.canUpdateAll(), canUpdateAll);
        QCOMPARE(changed.isEmpty(), updates == 0); // the line is bound, so it must notify
    }

    // A feed that could not be read is said under the header, and "up to date" is not claimed.
    void updatesHeaderSaysWhatCouldNotBeChecked()
    {
        serveCatalog({QStringLiteral("a"), QStringLiteral("b")});
        serveRelease(QStringLiteral("a"), QStringLiteral("121"));
        installCopy(QStringLiteral("a"), QStringLiteral("2.2"), QStringLiteral("121"));
        const auto model = m_fixture->makeModel();
        StoreStatus status(model.get());
        QSignalSpy changed(&status, &StoreStatus::updatesLineChanged);
        QCoro::waitFor(model->load()); // b's feed answers 404
        QCOMPARE(status.updatesLine(), QStringLiteral("No updates found."));
        QCOMPARE(status.checkProblemLine(),
                 QStringLiteral("Could not check one app: its update feed could not be read."));
        QVERIFY(!changed.isEmpty());

        changed.clear();
        serveRelease(QStringLiteral("b"), QStringLiteral("7"));
        QCoro::waitFor(model->load());
        QCOMPARE(status.updatesLine(), QStringLiteral("Everything is up to date."));
        QCOMPARE(status.checkProblemLine(), QString());
        QVERIFY(!changed.isEmpty());
    }

    void checkedLineFollowsTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("minutesLater"); // when the header is read, after the check ended
        QTest::addColumn<QString>("line");
        QTest::newRow("English, minutes") << "en" << 5 << "Checked 5 minutes ago";
        QTest::newRow("English, yesterday") << "en" << 25 * 60 << "Checked yesterday";
        QTest::newRow("German, minutes") << "de" << 5 << "Checked vor 5 Minuten";
        QTest::newRow("German, yesterday") << "de" << 25 * 60 << "Checked gestern";
    }

    void checkedLineFollowsTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(int, minutesLater);
        QFETCH(QString, line);
        serveCatalog({QStringLiteral("a")});
        const auto clock = std::make_shared<QDateTime>(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);
        m_fixture->environment.now = [clock] { return *clock; };
        m_fixture->environment.preferredLanguages = {language};
        const auto model = m_fixture->makeModel();
        // Connected before the status, so that the header reads the clock after it has moved on.
        connect(model.get(), &StoreModel::lastCheckedChanged, this,
                [clock, minutesLater] { *clock = clock->addSecs(minutesLater * 60); });
        StoreStatus status(model.get());
        QSignalSpy changed(&status, &StoreStatus::checkedLineChanged);
        QCOMPARE(status.checkedLine(), QString());
        QCoro::waitFor(model->load());
        QCOMPARE(status.checkedLine(), line);
        QCOMPARE(changed.count(), 1);
    }

    void checkAgainWaitsForTheLoad_data()
    {
        QTest::addColumn<bool>("catalogAnswers");
        QTest::newRow("a load that succeeds") << true;
        QTest::newRow("a load that fails") << false;
    }

    void checkAgainWaitsForTheLoad()
    {
        QFETCH(bool, catalogAnswers);
        if (catalogAnswers)
            serveCatalog({QStringLiteral("a")});
        const auto model = m_fixture->makeModel();
        StoreStatus status(model.get());
        QSignalSpy checking(&status, &StoreStatus::checkingChanged);
        QVERIFY(status.canCheckAgain());
        status.reload();
        QVERIFY(!status.canCheckAgain());
        QTRY_VERIFY(status.canCheckAgain());
        QCOMPARE(checking.count(), 2);
        QCOMPARE(status.loadState(), catalogAnswers ? StoreModel::LoadState::Ready : StoreModel::LoadState::Failed);
        // A failed first load has checked nothing.
        QCOMPARE(status.checkedLine().isEmpty(), !catalogAnswers);
    }

    void detailFacts()
    {
        QList<QJsonObject> apps{CatalogFixtures::app(QStringLiteral("lumen"), QStringLiteral("6.1"))};
        apps[0].insert(QStringLiteral("appcastURL"), m_server->url(QStringLiteral("/feeds/lumen.xml")).toString());
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
        m_fixture->environment.preferredLanguages = {QStringLiteral("de")};
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->loadCatalog());
        AppItem item(model.get(), QStringLiteral("lumen"));
        QCOMPARE(item.latestVersionFact(), QStringLiteral("\u2014")); // feed not read yet
        QCOMPARE(item.installedFact(), QStringLiteral("Not installed"));
        QCOMPARE(item.requirementFact(), QStringLiteral("Linux 6.1"));
        QCOMPARE(item.pageURL(), QUrl(QStringLiteral("https://orvel.example/de/apps/lumen/")));

        QSignalSpy state(&item, &AppItem::stateChanged);
        serveRelease(QStringLiteral("lumen"), QStringLiteral("121"));
        QCoro::waitFor(model->checkForUpdates());
        QCOMPARE(item.latestVersionFact(), QStringLiteral("2.2"));
        // What an install ends with: the new copy on disk and a rescan, the page still open.
        installCopy(QStringLiteral("lumen"), QStringLiteral("2.2"), QStringLiteral("121"));
        model->scanInstalled();
        QCOMPARE(item.installedFact(), QStringLiteral("2.2"));
        QCOMPARE(state.count(), 2);
    }
};

QTEST_GUILESS_MAIN(PresentationTest)
#include "tst_presentation.moc"
