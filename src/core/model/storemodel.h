#pragma once

#include "catalog/catalog.h"
#include "catalog/catalogorigin.h"
#include "catalog/serviceconfiguration.h"
#include "feeds/appcastfetch.h"
#include "feeds/appcastrelease.h"
#include "install/installedapp.h"
#include "install/installer.h"
#include "model/job.h"
#include "model/storeenvironment.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <memory>
#include <qcorotask.h>

class FolderWatcher;

using ReleaseMap = QMap<QString, AppcastRelease>;
using InstalledMap = QMap<QString, InstalledApp>;
using JobMap = QMap<QString, Job>;
using CheckFailureMap = QMap<QString, AppcastFetch::Problem>;

// The one application state: the catalog's apps, their releases, installed copies and
// install jobs, and every operation that changes them. Lives on the main thread; each
// property notifies only when its value really changes.
class StoreModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<CatalogApp> apps READ apps NOTIFY appsChanged)
    Q_PROPERTY(ReleaseMap releases READ releases NOTIFY releasesChanged)
    Q_PROPERTY(CheckFailureMap checkFailures READ checkFailures NOTIFY checkFailuresChanged)
    Q_PROPERTY(InstalledMap installed READ installed NOTIFY installedChanged)
    Q_PROPERTY(JobMap jobs READ jobs NOTIFY jobsChanged)
    Q_PROPERTY(LoadState loadState READ loadState NOTIFY loadStateChanged)
    Q_PROPERTY(CatalogOrigin catalogOrigin READ catalogOrigin NOTIFY catalogOriginChanged)
    Q_PROPERTY(QDateTime lastChecked READ lastChecked NOTIFY lastCheckedChanged)
    Q_PROPERTY(QList<CatalogApp> updates READ updates NOTIFY updatesChanged)
    Q_PROPERTY(QString language READ language CONSTANT)

public:
    enum class LoadState { Loading, Ready, Failed };
    Q_ENUM(LoadState)

    // Starts watching the Applications folders at once; loads nothing until load().
    explicit StoreModel(StoreEnvironment environment, QObject *parent = nullptr);
    ~StoreModel() override;

    // The process's model over the real machine, created on first use.
    static StoreModel *shared();

    const QList<CatalogApp> &apps() const { return m_apps; }
    const ReleaseMap &releases() const { return m_releases; }
    // The apps whose feed could not be read when it was last fetched, with the reason; an
    // app leaves when its feed is read again. A feed that offers nothing this system runs
    // was read.
    const CheckFailureMap &checkFailures() const { return m_checkFailures; }
    const InstalledMap &installed() const { return m_installed; }
    const JobMap &jobs() const { return m_jobs; }
    LoadState loadState() const { return m_loadState; }
    // Where the catalog in apps came from; a failed load leaves it as it was.
    const CatalogOrigin &catalogOrigin() const { return m_catalogOrigin; }
    // Why the last load could not use the service's own answer, and why not the kept copy
    // either when that failed too, in words; empty when the service's catalog was used.
    const QString &loadProblem() const { return m_loadProblem; }
    QDateTime lastChecked() const { return m_lastChecked; } // invalid before the first check
    // The clock lastChecked is read from, so that "how long ago" agrees with it.
    QDateTime now() const { return m_environment.now(); }
    const QString &language() const { return m_language; }
    const ServiceConfiguration &configuration() const { return m_environment.configuration; }

    // For the composition root, whose image loader exists only after the shared model.
    void setPrefetchImages(std::function<void(const QList<CatalogApp> &)> prefetch);

    // The apps, in catalog order, whose installed build is older than their release's; kept
    // current as apps, installed copies and releases change.
    const QList<CatalogApp> &updates() const { return m_updates; }

    // The whole refresh: loadCatalog(), then every feed. Never fails to its caller; a failed
    // catalog load only moves loadState and ends there.
    QCoro::Task<> load();

    // The catalog (the cache stands in when the service does not answer), then the installed
    // scan: what an install needs before its own app's feed.
    QCoro::Task<> loadCatalog();

    // Finds the installed copy of every app again, from the disk.
    void scanInstalled();

    // Fetches every app's feed at once and records each newest release as it arrives;
    // lastChecked is set when all are done, whatever their outcome.
    QCoro::Task<> checkForUpdates();

    // Reads one app's feed and records its newest release, or why there is none.
    QCoro::Task<> checkFeed(CatalogApp app);

    // What the window calls when the application becomes active: the disk may have changed.
    void applicationBecameActive();

    enum class Opening {
        AsUsual,   // the new copy is opened when it was running or is newly installed
        StayClosed // for scripts that only want the app in place
    };

    // Installs or updates an app: fetches its feed when its release is not known yet (never
    // waiting for the other apps' feeds), quits its running copy, runs the installer with
    // progress in jobs, rescans, and opens the new copy as opening says. The outcome is in
    // jobs: no entry on success, a failed job with the sentence to show otherwise.
    QCoro::Task<> install(CatalogApp app, Opening opening = Opening::AsUsual);

    // Installs every app of updates at once; returns when all have ended.
    QCoro::Task<> updateAll();

    // Launches the app's bundle at location, or its installed copy; rescans when it is gone.
    // Why it could not be started, in words, when it could not.
    Expected<Unit, QString> open(const CatalogApp &app, const QString &location = QString());

    void clearError(const CatalogApp &app);

    // The sentence a failure shows the user.
    static QString message(const InstallFailure &failure);

Q_SIGNALS:
    void appsChanged();
    void releasesChanged();
    void checkFailuresChanged();
    void catalogOriginChanged();
    void installedChanged();
    void jobsChanged();
    void loadStateChanged();
    void lastCheckedChanged();
    void updatesChanged();
    // One app's entry changed (or appeared, or went away); the whole-map signal follows.
    void jobChanged(const QString &productID);
    void releaseChanged(const QString &productID);

private:
    template<typename T> void assign(T &member, T value, void (StoreModel::*changed)());

    QList<CatalogApp> runnableApps(const QList<CatalogApp> &apps) const;
    // Records whether an app's feed was read; failure is empty when it was.
    void noteCheckOutcome(const QString &productID, std::optional<AppcastFetch::Problem> failure);
    // Changing a job always notifies, even with an equal value.
    void setJob(const QString &productID, std::optional<Job> job);
    // A download report for a running job; kept only when it moves the job to a new whole
    // percent (or to the end), so that watchers redraw at most a hundred times.
    void reportProgress(const QString &productID, double fraction);
    void refreshUpdates();

    StoreEnvironment m_environment;
    QString m_language;
    Installer m_installer;

    QList<CatalogApp> m_apps;
    ReleaseMap m_releases;
    CheckFailureMap m_checkFailures;
    CatalogOrigin m_catalogOrigin;
    QString m_loadProblem;
    InstalledMap m_installed;
    JobMap m_jobs;
    LoadState m_loadState = LoadState::Loading;
    QDateTime m_lastChecked;
    QList<CatalogApp> m_updates;

    std::unique_ptr<FolderWatcher> m_folderWatcher;
};
