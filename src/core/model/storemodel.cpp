#include "storemodel.h"

#include "catalog/catalogloader.h"
#include "catalog/version.h"
#include "platform/networksession.h"
#include "platform/preferredlanguages.h"

#include <QCoreApplication>
#include <QPointer>

StoreModel::StoreModel(StoreEnvironment environment, QObject *parent)
    : QObject(parent),
      m_environment(std::move(environment)),
      m_configuration(ServiceConfiguration::fromBundle(m_environment.mainBundle)),
      m_language(m_environment.preferredLanguages.value(0, QStringLiteral("en")))
{
}

StoreModel::~StoreModel() = default;

StoreModel *StoreModel::shared()
{
    // Parented to the application so that it goes before the event loop's objects do.
    static StoreModel *const model = [] {
        QCoreApplication *application = QCoreApplication::instance();
        StoreEnvironment environment{
            .session = createNetworkSession(application),
            .mainBundle = Bundle::main(),
            .locations = Locations::standard(),
            .systemVersion = SystemVersion::current(),
            .preferredLanguages = preferredLanguages(),
            .now = [] { return QDateTime::currentDateTimeUtc(); },
        };
        return new StoreModel(std::move(environment), application);
    }();
    return model;
}

template<typename T>
void StoreModel::assign(T &member, T value, void (StoreModel::*changed)())
{
    if (member == value)
        return;
    member = std::move(value);
    Q_EMIT(this->*changed)();
}

QCoro::Task<> StoreModel::load()
{
    if (m_apps.isEmpty())
        assign(m_loadState, LoadState::Loading, &StoreModel::loadStateChanged);

    const CatalogLoader loader(m_configuration, CatalogLoader::defaultCacheURL(m_environment.locations));
    QPointer<StoreModel> self(this);
    const CatalogResult result = co_await loader.load(m_environment.session);
    if (!self)
        co_return;

    if (!result) {
        assign(m_loadState, m_apps.isEmpty() ? LoadState::Failed : LoadState::Ready,
               &StoreModel::loadStateChanged);
        co_return;
    }
    assign(m_apps, runnableApps(result->apps), &StoreModel::appsChanged);
    assign(m_loadState, LoadState::Ready, &StoreModel::loadStateChanged);
}

QList<CatalogApp> StoreModel::runnableApps(const QList<CatalogApp> &apps) const
{
    const QString system = m_environment.systemVersion.majorMinor();
    QList<CatalogApp> runnable;
    for (const CatalogApp &app : apps) {
        if (Version::compare(app.minimumSystemVersion, system) != Version::Order::Descending)
            runnable.append(app);
    }
    return runnable;
}
