#include "model/storemodel.h"

#include "catalog/catalogloader.h"
#include "catalog/version.h"
#include "feeds/appcastfetch.h"
#include "install/installedcopies.h"
#include "model/modellog.h"
#include "platform/folderwatcher.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>
#include <qcorotimer.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <cmath>

namespace {

// How long the Applications folders must be quiet before a change is acted on: copying
// an app in makes a burst of events, and one rescan after it is enough.
constexpr std::chrono::milliseconds folderQuietPeriod{500};

// How long a running app gets to quit before its install goes on anyway: 50 looks, 100 ms apart.
constexpr int quitChecks = 50;
constexpr std::chrono::milliseconds quitCheckInterval{100};

QString feedUnreachable()
{
    return QCoreApplication::translate("StoreModel", "Could not reach the update feed.");
}

QString olderCopyStillPreferred()
{
    return QCoreApplication::translate("StoreModel",
                                       "The update was installed, but this Mac still opens an older copy. "
                                       "Remove the older copy and try again.");
}

// Asks every running copy of the app to quit, and waits until all are gone or the bound is
// reached; true when there was one. A free function, so that nothing of the model is touched
// across its suspensions, whatever happens to the model meanwhile.
QCoro::Task<bool> quitIfRunning(std::shared_ptr<RunningApplications> running, QString bundleID)
{
    if (!running)
        co_return false;
    QFuture<QList<qint64>> finding = QtConcurrent::run([running, bundleID] { return running->find(bundleID); });
    const QList<qint64> processes = co_await finding;
    for (const qint64 process : processes)
        running->terminate(process);
    for (int check = 0; check < quitChecks; ++check) {
        const bool allGone = std::none_of(processes.begin(), processes.end(),
                                          [&running](qint64 process) { return running->isRunning(process); });
        if (allGone)
            break;
        co_await QCoro::sleepFor(quitCheckInterval);
    }
    co_return !processes.isEmpty();
}

} // namespace

StoreModel::StoreModel(StoreEnvironment environment, QObject *parent)
    : QObject(parent), m_environment(std::move(environment)),
      m_language(m_environment.preferredLanguages.value(0, QStringLiteral("en"))),
      m_installer(m_environment.locations, m_environment.registry.get(), m_environment.session, m_environment.verifier,
                  m_environment.archiveLimits)
{
    connect(this, &StoreModel::appsChanged, this, &StoreModel::refreshUpdates);
    connect(this, &StoreModel::installedChanged, this, &StoreModel::refreshUpdates);
    connect(this, &StoreModel::releasesChanged, this, &StoreModel::refreshUpdates);
    // The callback runs on the watcher's thread. The watcher is a member, and its destructor
    // waits for that thread, so the model is alive whenever the callback posts to it.
    m_folderWatcher =
        std::make_unique<FolderWatcher>(m_environment.locations.applicationsFolders(), folderQuietPeriod, [this] {
            QMetaObject::invokeMethod(this, &StoreModel::scanInstalled, Qt::QueuedConnection);
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

void StoreModel::setPrefetchImages(std::function<void(const QList<CatalogApp> &)> prefetch)
{
    m_environment.prefetchImages = std::move(prefetch);
}

template<typename T> void StoreModel::assign(T &member, T value, void (StoreModel::*changed)())
{
    if (member == value)
        return;
    member = std::move(value);
    Q_EMIT(this->*changed)();
}

QCoro::Task<> StoreModel::load()
{
    QPointer<StoreModel> self(this);
    co_await loadCatalog();
    if (!self || m_loadState != LoadState::Ready)
        co_return;
    co_await checkForUpdates();
}

QCoro::Task<> StoreModel::loadCatalog()
{
    if (m_apps.isEmpty())
        assign(m_loadState, LoadState::Loading, &StoreModel::loadStateChanged);

    const CatalogLoader loader(m_environment.configuration, CatalogLoader::defaultCacheURL(m_environment.locations));
    QPointer<StoreModel> self(this);
    const CatalogLoad load = co_await loader.load(m_environment.session, m_environment.documentLimits);
    if (!self)
        co_return;
    QStringList problems{load.serviceProblem, load.cacheProblem};
    problems.removeAll(QString());
    m_loadProblem = problems.join(QStringLiteral("; "));
    if (!m_loadProblem.isEmpty())
        qCWarning(lcModel).noquote() << "the service's catalog could not be used:" << m_loadProblem;

    const CatalogResult &result = load.result;
    if (!result) {
        qCWarning(lcModel) << "no catalog:" << errorName(result.error());
        assign(m_loadState, m_apps.isEmpty() ? LoadState::Failed : LoadState::Ready, &StoreModel::loadStateChanged);
        co_return;
    }
    assign(m_catalogOrigin, load.origin, &StoreModel::catalogOriginChanged);
    assign(m_apps, runnableApps(result->apps), &StoreModel::appsChanged);
    assign(m_loadState, LoadState::Ready, &StoreModel::loadStateChanged);
    if (m_environment.prefetchImages)
        m_environment.prefetchImages(m_apps);
    scanInstalled();
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

void StoreModel::refreshUpdates()
{
    QList<CatalogApp> apps;
    for (const CatalogApp &app : std::as_const(m_apps)) {
        const auto copy = m_installed.constFind(app.productID);
        const auto release = m_releases.constFind(app.productID);
        if (copy != m_installed.constEnd() && release != m_releases.constEnd() && needsUpdate(*copy, *release))
            apps.append(app);
    }
    assign(m_updates, std::move(apps), &StoreModel::updatesChanged);
}

void StoreModel::scanInstalled()
{
    const QHash<QString, InstalledApp> copies =
        InstalledCopies(m_environment.locations, m_environment.registry.get()).installed(m_apps);
    InstalledMap installed;
    for (auto it = copies.begin(); it != copies.end(); ++it)
        installed.insert(it.key(), it.value());
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
    Expected<AppcastRelease, AppcastFetch::Problem> release = co_await AppcastFetch::examine(
        m_environment.session, app.appcastURL, m_environment.systemVersion, m_environment.documentLimits);
    if (!self)
        co_return;
    noteCheckOutcome(app.productID, release ? std::nullopt : std::make_optional(release.error()));
    if (!release)
        co_return;
    // An arriving release always notifies, even when it equals the one already known.
    m_releases.insert(app.productID, std::move(release).value());
    Q_EMIT releaseChanged(app.productID);
    Q_EMIT releasesChanged();
}

void StoreModel::noteCheckOutcome(const QString &productID, std::optional<AppcastFetch::Problem> failure)
{
    if (failure && failure->failure != AppcastFetch::Failure::NothingRunnable) {
        qCWarning(lcModel).noquote() << "could not check" << productID << "for updates:" << failure->detail;
        const auto known = m_checkFailures.constFind(productID);
        if (known != m_checkFailures.constEnd() && *known == *failure)
            return;
        m_checkFailures.insert(productID, std::move(*failure));
    } else if (!m_checkFailures.remove(productID)) {
        return;
    }
    Q_EMIT checkFailuresChanged();
}

void StoreModel::setJob(const QString &productID, std::optional<Job> job)
{
    if (job)
        m_jobs.insert(productID, std::move(*job));
    else if (!m_jobs.remove(productID))
        return;
    Q_EMIT jobChanged(productID);
    Q_EMIT jobsChanged();
}

void StoreModel::reportProgress(const QString &productID, double fraction)
{
    const auto job = m_jobs.constFind(productID);
    // A report that arrives after its job has ended would bring back a finished job.
    if (job == m_jobs.constEnd() || job->state != Job::State::Working)
        return;
    const auto percent = [](double value) { return std::isnan(value) ? -1 : int(std::floor(value * 100)); };
    if (fraction < 1 && percent(fraction) == percent(job->fraction))
        return;
    setJob(productID, Job::working(fraction));
}

QCoro::Task<> StoreModel::install(CatalogApp app, Opening opening)
{
    const QString id = app.productID;
    const auto current = m_jobs.constFind(id);
    if (current != m_jobs.constEnd() && current->state == Job::State::Working)
        co_return;
    setJob(id, Job::working(0));
    QPointer<StoreModel> self(this);
    if (!m_releases.contains(id)) {
        co_await checkFeed(app);
        if (!self)
            co_return;
    }
    const auto known = m_releases.constFind(id);
    if (known == m_releases.constEnd()) {
        setJob(id, Job::failed(feedUnreachable()));
        co_return;
    }
    const AppcastRelease release = *known;
    const bool firstInstall = !m_installed.contains(id);

    const bool wasRunning = co_await quitIfRunning(m_environment.runningApplications, app.bundleID);
    if (!self)
        co_return;
    // Reports made on the model's own thread land at once; others come through the event
    // loop, after the job may have ended (reportProgress drops those).
    const ProgressCallback progress = [self, id](double fraction) {
        if (self && QThread::currentThread() == self->thread()) {
            self->reportProgress(id, fraction);
            return;
        }
        QMetaObject::invokeMethod(
            self.data(),
            [self, id, fraction] {
                if (self)
                    self->reportProgress(id, fraction);
            },
            Qt::QueuedConnection);
    };
    const Expected<QString, InstallFailure> result = co_await m_installer.install(app, release, progress);
    if (!self)
        co_return;
    if (!result) {
        setJob(id, Job::failed(message(result.error()), result.error().detail));
        co_return;
    }
    scanInstalled();
    const auto copy = m_installed.constFind(id);
    if (copy != m_installed.constEnd() && Version::compare(copy->build, release.build) == Version::Order::Ascending) {
        setJob(id, Job::failed(olderCopyStillPreferred()));
        co_return;
    }
    setJob(id, std::nullopt);
    if (opening == Opening::AsUsual && (firstInstall || wasRunning))
        open(app, result.value());
}

QCoro::Task<> StoreModel::updateAll()
{
    // A copy: the installs change the list as they finish.
    const QList<CatalogApp> apps = m_updates;
    std::vector<QCoro::Task<>> installs;
    for (const CatalogApp &app : apps)
        installs.push_back(install(app));
    for (QCoro::Task<> &running : installs)
        co_await running;
}

Expected<Unit, QString> StoreModel::open(const CatalogApp &app, const QString &location)
{
    const QString target = location.isEmpty() ? m_installed.value(app.productID).url : location;
    if (target.isEmpty())
        return QStringLiteral("%1 is not installed").arg(app.name);
    if (!QFileInfo::exists(target)) {
        scanInstalled();
        return QStringLiteral("%1 is gone").arg(target);
    }
    if (!m_environment.runningApplications)
        return QStringLiteral("this machine starts no applications");
    const Expected<Unit, QString> launched = m_environment.runningApplications->launch(target);
    if (!launched)
        qCWarning(lcModel).noquote() << "could not open" << app.productID << ':' << launched.error();
    return launched;
}

void StoreModel::clearError(const CatalogApp &app)
{
    setJob(app.productID, std::nullopt);
}

QString StoreModel::message(const InstallFailure &failure)
{
    switch (failure.kind) {
    case InstallFailure::Kind::Download:
    case InstallFailure::Kind::FileSystem:
        break;
    case InstallFailure::Kind::BadArchiveSignature:
    case InstallFailure::Kind::BadCodeSignature:
    case InstallFailure::Kind::WrongApp:
        return QCoreApplication::translate("StoreModel",
                                           "This download did not pass the security check, so it was not installed.");
    case InstallFailure::Kind::NoAppInArchive:
    case InstallFailure::Kind::Extract:
        return QCoreApplication::translate("StoreModel", "The download could not be opened.");
    case InstallFailure::Kind::CannotReplace:
        return QCoreApplication::translate(
            "StoreModel", "The app could not be replaced. Quit it and try again, or update it from the app itself.");
    }
    return QCoreApplication::translate("StoreModel",
                                       "The download did not finish. Check your connection and try again.");
}
