#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"

#include <QSignalSpy>
#include <QTest>

using namespace CatalogFixtures;
using LoadState = StoreModel::LoadState;

namespace {

// Every value loadState takes, in order, as the model announces them.
class LoadStateRecorder
{
public:
    explicit LoadStateRecorder(StoreModel *model)
    {
        QObject::connect(model, &StoreModel::loadStateChanged, model,
                         [this, model] { states.append(model->loadState()); });
    }
    QList<LoadState> states;
};

} // namespace

class StoreModelTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;

    void serve(const QList<QJsonObject> &apps)
    {
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
    }

    void serveStatus(int status)
    {
        HttpResponse response = HttpResponse::notFound();
        response.status = status;
        m_server->respond("/v1/catalog", response);
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
    }

    void startsEmptyAndLoading()
    {
        const auto model = m_fixture->makeModel();
        QCOMPARE(model->loadState(), LoadState::Loading);
        QVERIFY(model->apps().isEmpty());
        QVERIFY(!model->lastChecked().isValid());
        QCOMPARE(model->configuration(), m_signer.configuration(m_server->url()));
        QCOMPARE(m_server->hits("/v1/catalog"), 0);
    }

    void firstStartWithoutNetworkOrCacheFails()
    {
        m_fixture = std::make_unique<ModelFixture>(m_signer, TestServer::refusingURL());
        const auto model = m_fixture->makeModel();
        LoadStateRecorder recorder(model.get());
        QCoro::waitFor(model->load());
        QCOMPARE(recorder.states, QList<LoadState>{LoadState::Failed});
        QVERIFY(model->apps().isEmpty());
    }

    void firstStartWithoutNetworkShowsTheCache()
    {
        m_fixture = std::make_unique<ModelFixture>(m_signer, TestServer::refusingURL());
        m_fixture->writeCache(m_signer.envelopeOf({app(QStringLiteral("cached"))}));
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(model->loadState(), LoadState::Ready);
        QCOMPARE(productIDs(model->apps()), QStringList{QStringLiteral("cached")});
    }

    void failedReloadKeepsTheCatalogAndNeverShowsLoading()
    {
        serve({app(QStringLiteral("a"))});
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(model->loadState(), LoadState::Ready);

        m_server->respond("/v1/catalog", HttpResponse::ok("<html>down</html>", "text/html"));
        LoadStateRecorder recorder(model.get());
        QSignalSpy appsChanged(model.get(), &StoreModel::appsChanged);
        QCoro::waitFor(model->load());
        QCOMPARE(recorder.states, QList<LoadState>{});
        QCOMPARE(model->loadState(), LoadState::Ready);
        QCOMPARE(productIDs(model->apps()), QStringList{QStringLiteral("a")});
        QCOMPARE(appsChanged.count(), 0);
    }

    void retryAfterAFailedFirstLoadShowsLoadingAgain()
    {
        serveStatus(500);
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(model->loadState(), LoadState::Failed);

        serve({app(QStringLiteral("a"))});
        LoadStateRecorder recorder(model.get());
        QCoro::waitFor(model->load());
        QCOMPARE(recorder.states, (QList<LoadState>{LoadState::Loading, LoadState::Ready}));
    }

    void sameCatalogAgainIsSilent()
    {
        serve({app(QStringLiteral("a")), app(QStringLiteral("b"))});
        const auto model = m_fixture->makeModel();
        QSignalSpy appsChanged(model.get(), &StoreModel::appsChanged);
        QSignalSpy stateChanged(model.get(), &StoreModel::loadStateChanged);
        QCoro::waitFor(model->load());
        QCoro::waitFor(model->load());
        QCOMPARE(appsChanged.count(), 1);
        QCOMPARE(stateChanged.count(), 1);

        serve({app(QStringLiteral("b"))});
        QCoro::waitFor(model->load());
        QCOMPARE(appsChanged.count(), 2);
        QCOMPARE(productIDs(model->apps()), QStringList{QStringLiteral("b")});
    }

    void everySuccessfulLoadPrefetchesItsApps()
    {
        QList<QStringList> prefetched;
        m_fixture->environment.prefetchImages = [&prefetched](const QList<CatalogApp> &apps) {
            prefetched.append(productIDs(apps));
        };
        serve({app(QStringLiteral("a")), app(QStringLiteral("future"), QStringLiteral("15.0")),
               app(QStringLiteral("b"))});
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(prefetched, (QList<QStringList>{{QStringLiteral("a"), QStringLiteral("b")}}));

        m_server->respond("/v1/catalog", HttpResponse::ok("<html>down</html>", "text/html"));
        QCoro::waitFor(model->load());
        QCOMPARE(prefetched.size(), 1);

        serve({app(QStringLiteral("b"))});
        QCoro::waitFor(model->load());
        QCOMPARE(prefetched.size(), 2);
        QCOMPARE(prefetched.last(), QStringList{QStringLiteral("b")});
    }

    void keepsOnlyAppsThisSystemRuns()
    {
        // The fixture's system is 14.5.2: only 14.5 is compared.
        serve({app(QStringLiteral("future"), QStringLiteral("15.0")),
               app(QStringLiteral("fourteen"), QStringLiteral("14")),
               app(QStringLiteral("patch"), QStringLiteral("14.5.1")),
               app(QStringLiteral("exact"), QStringLiteral("14.5")),
               app(QStringLiteral("beta"), QStringLiteral("14.5b")),
               app(QStringLiteral("old"), QStringLiteral("10.9"))});
        const auto model = m_fixture->makeModel();
        QCoro::waitFor(model->load());
        QCOMPARE(productIDs(model->apps()), (QStringList{QStringLiteral("fourteen"), QStringLiteral("exact"),
                                                         QStringLiteral("beta"), QStringLiteral("old")}));
    }

    void languageIsTheFirstPreferredOne()
    {
        QCOMPARE(m_fixture->makeModel()->language(), QStringLiteral("pt-BR"));
        m_fixture->environment.preferredLanguages = {};
        QCOMPARE(m_fixture->makeModel()->language(), QStringLiteral("en"));
    }

    void modelGoneDuringLoadIsHarmless()
    {
        HttpResponse slow = HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("a"))}), "application/json");
        slow.delayMilliseconds = 200;
        m_server->respond("/v1/catalog", slow);
        auto model = m_fixture->makeModel();
        QCoro::Task<> task = model->load();
        model.reset();
        QCoro::waitFor(std::move(task));
        QCOMPARE(m_server->hits("/v1/catalog"), 1);
    }
};

QTEST_GUILESS_MAIN(StoreModelTest)
#include "tst_storemodel.moc"
