#include "storemodel.h"

#include "catalog/catalogloader.h"
#include "catalog/version.h"
#include "feeds/appcastfetch.h"
#include "support/folderwatcher.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSet>

namespace {

// How long the Applications folders must be quiet before a change is acted on: copying
// an app in makes a burst of events, and one rescan after it is enough.
constexpr std::chrono::milliseconds folderQuietPeriod{500};

} // namespace

StoreModel::StoreModel(StoreEnvironment environment, QObject *parent)
    : QObject(parent),
      m_environment(std::move(environment)),
      m_language(m_environment.preferredLanguages.value(0, QStringLiteral("en"))),
      m_installer(m_environment.locations, m_environment.registry.get())
{
    connect(this, &StoreModel::appsChanged, this, &StoreModel::updatesChanged);
    connect(this, &StoreModel::installedChanged, this, &StoreModel::updatesChanged);
    connect(this, &StoreModel::releasesChanged, this, &StoreModel::updatesChanged);
    // The callback runs on the watcher's thread. The watcher is a member, and its destructor
    // waits for that thread, so the model is alive whenever the callback posts to it.
    m_folderWatcher = std::make_unique<FolderWatcher>(m_environment.locations.applicationsFolders(), folderQuietPeriod,
                                                      [this] {
                                                          QMetaObject::invokeMethod(this, &StoreModel::scanInstalled,
                                                                                    Qt::QueuedConnection);
                                                      });
}

StoreModel::~StoreModel() = default;

StoreModel *StoreModel::shared()
{
    // Parented to the application, which outlives every window and tray item using it.
    static StoreModel *const model = [] {
        QCoreApplication *application = QCoreApplication::instance();
        return new StoreModel(StoreEnvironment::standard(application), application);
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

    const CatalogLoader loader(m_environment.configuration, CatalogLoader::defaultCacheURL(m_environment.locations));
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

    scanInstalled();
    co_await checkForUpdates();
}

QList<CatalogApp> StoreModel::runnableApps(const QList<CatalogApp> &apps) const
{
    const QString system = m_environment.systemVersion.majorMinor();
    QList<CatalogApp> runnable;
    QSet<QString> seen;
    for (const CatalogApp &app : apps) {
        // Every per-app map is keyed by productID, so a repeated one keeps its first record.
        if (seen.contains(app.productID))
            continue;
        seen.insert(app.productID);
        if (Version::compare(app.minimumSystemVersion, system) != Version::Order::Descending)
            runnable.append(app);
    }
    return runnable;
}

QList<CatalogApp> StoreModel::updates() const
{
    QList<CatalogApp> apps;
    for (const CatalogApp &app : m_apps) {
        const auto copy = m_installed.constFind(app.productID);
        const auto release = m_releases.constFind(app.productID);
        if (copy != m_installed.constEnd() && release != m_releases.constEnd() && Installer::needsUpdate(*copy, *release))
            apps.append(app);
    }
    return apps;
}

void StoreModel::scanInstalled()
{
    InstalledMap installed;
    for (const CatalogApp &app : std::as_const(m_apps)) {
        if (std::optional<InstalledApp> copy = m_installer.installed(app))
            installed.insert(app.productID, std::move(*copy));
    }
    assign(m_installed, std::move(installed), &StoreModel::installedChanged);
}

void StoreModel::applicationBecameActive()
{
    scanInstalled();
}

QCoro::Task<> StoreModel::checkForUpdates()
{
    QPointer<StoreModel> self(this);
    // Every fetch starts here, before the first is awaited; each records its own result.
    std::vector<QCoro::Task<>> checks;
    for (const CatalogApp &app : std::as_const(m_apps))
        checks.push_back(checkFeed(app));
    for (QCoro::Task<> &check : checks)
        co_await check;
    if (!self)
        co_return;
    assign(m_lastChecked, m_environment.now(), &StoreModel::lastCheckedChanged);
}

QCoro::Task<> StoreModel::checkFeed(CatalogApp app)
{
    QPointer<StoreModel> self(this);
    std::optional<AppcastRelease> release =
        co_await AppcastFetch::newestRelease(m_environment.session, app.appcastURL, m_environment.systemVersion);
    if (!self || !release)
        co_return;
    // An arriving release always notifies, even when it equals the one already known.
    m_releases.insert(app.productID, std::move(*release));
    Q_EMIT releasesChanged();
}
