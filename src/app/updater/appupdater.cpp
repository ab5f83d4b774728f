#include "app/updater/appupdater.h"

#include "codesign/bundlesignatureverifier.h"
#include "net/networksession.h"
#include "platform/locations.h"
#include "platform/runningapplications.h"
#include "selfupdate/selfupdatelog.h"
#include "selfupdate/storeupdatecheck.h"
#include "selfupdate/storeupdateinstall.h"
#include "shell/updaterconfiguration.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

AppUpdater::Services AppUpdater::Services::standard(const Bundle &running, QObject *owner)
{
    return {
        .session = createNetworkSession(owner),
        .verifier = std::make_shared<BundleSignatureVerifier>(TrustAnchors::forBundle(running)),
        .launcher = std::make_shared<ProcessTable>(),
        .systemVersion = SystemVersion::current(),
        .temporary = Locations::standard().temporary,
        .quit = [] { QCoreApplication::quit(); },
        .now = [] { return QDateTime::currentDateTimeUtc(); },
    };
}

AppUpdater::AppUpdater(Bundle running, UserDefaults defaults, Services services, QObject *parent)
    : QObject(parent), m_running(std::move(running)), m_services(std::move(services)),
      m_preferences(std::move(defaults), m_running.infoDictionary().value_or(QVariantMap())),
      m_configured(UpdaterConfiguration::isConfigured(m_running.infoDictionary().value_or(QVariantMap()))),
      m_window(std::make_unique<UpdateWindowState>())
{
    m_window->setRunningVersion(UpdaterConfiguration::shownVersion(m_running.infoDictionary().value_or(QVariantMap())));
    // The switch shows the stored choice from the start, also while the updater starts.
    m_automaticallyChecks = m_preferences.automaticallyChecks();
    m_schedule.setSingleShot(true);
    connect(&m_schedule, &QTimer::timeout, this, [this] { check(false); });
}

AppUpdater::~AppUpdater() = default;

void AppUpdater::start()
{
    if (m_started)
        return;
    m_started = true;
    if (m_configured)
        startUpdater();
}

QCoro::Task<> AppUpdater::startUpdater()
{
    QPointer<AppUpdater> self(this);
    const std::shared_ptr<const CodeSignatureVerifier> verifier = m_services.verifier;
    const QString bundle = m_running.path();
    QString failure;
    if (!verifier) {
        failure = QStringLiteral("no code-signature verifier");
    } else {
        // The whole bundle is hashed: off the main thread.
        QFuture<CodeSignatureResult<QString>> reading =
            QtConcurrent::run([verifier, bundle] { return verifier->team(bundle); });
        const CodeSignatureResult<QString> team = co_await reading;
        if (!self)
            co_return;
        if (team)
            m_team = *team;
        else
            failure = QStringLiteral("the running copy's code signature is not accepted (%1: %2)")
                          .arg(CodeSignatureFailure::name(team.error().kind), team.error().detail);
    }
    if (!failure.isEmpty()) {
        qCWarning(lcSelfUpdate).noquote() << QStringLiteral("Tessel Store: the updater did not start: %1").arg(failure);
        co_return;
    }
    setCanCheck(true);
    scheduleNextCheck();
}

void AppUpdater::setAutomaticallyChecks(bool checks)
{
    if (checks == m_automaticallyChecks)
        return;
    m_automaticallyChecks = checks;
    // Without an updater the switch moves and nothing is kept; with one it is kept at once,
    // also while the updater is still starting.
    if (m_configured)
        m_preferences.setAutomaticallyChecks(checks);
    scheduleNextCheck();
    Q_EMIT automaticallyChecksChanged();
}

void AppUpdater::checkForUpdates()
{
    check(true);
}

QCoro::Task<> AppUpdater::check(bool userAsked)
{
    if (!m_canCheck)
        co_return;
    QPointer<AppUpdater> self(this);
    setCanCheck(false);
    if (userAsked)
        m_window->showChecking();
    const QString build = m_running.string(QStringLiteral("CFBundleVersion"));
    const QUrl feed(m_running.string(QStringLiteral("SUFeedURL")));
    const Expected<std::optional<AppcastRelease>, AppcastFetch::Failure> found =
        co_await StoreUpdateCheck::check(m_services.session, feed, build, m_services.systemVersion);
    if (!self)
        co_return;
    // Only a feed that was read counts as the day's check; one that was not (no network yet,
    // say, at the start of a session) is tried again within the hour.
    if (found) {
        m_preferences.setLastCheck(m_services.now());
        scheduleNextCheck();
    } else if (!m_team.isEmpty() && m_automaticallyChecks) {
        m_schedule.start(std::chrono::hours(1));
    }
    if (!found || !found.value() || !m_preferences.offers(*found.value(), userAsked)) {
        // On the schedule nothing new says nothing.
        if (userAsked && !found)
            m_window->showCheckFailed();
        else if (userAsked)
            m_window->showUpToDate();
        setCanCheck(true);
        co_return;
    }
    m_offered = *found.value();
    m_window->showAvailable(m_offered->shortVersion, m_offered->releaseNotes);
}

void AppUpdater::installUpdate()
{
    install();
}

QCoro::Task<> AppUpdater::install()
{
    if (!m_offered || m_installing)
        co_return;
    QPointer<AppUpdater> self(this);
    m_installing = true;
    m_window->showDownloading();
    // The download reports on the main thread, where the window lives.
    const QPointer<UpdateWindowState> window(m_window.get());
    ProgressCallback progress = [window](double share) {
        if (window)
            window->setProgress(share);
    };
    const Expected<QString, InstallFailure> installed = co_await StoreUpdateInstall::install(
        m_services.session, m_services.verifier, m_running.path(), m_team,
        m_running.string(QStringLiteral("SUPublicEDKey")), *m_offered, m_services.temporary, std::move(progress));
    if (!self)
        co_return;
    m_installing = false;
    if (!installed) {
        m_window->showFailed(installed.error().kind);
        co_return;
    }
    // The copy in place is the new one now, whether or not it starts: no check offers it again.
    m_running = Bundle::at(m_running.path());
    m_window->showRelaunching();
    Q_EMIT relaunching();
    if (!m_services.launcher || !m_services.launcher->launch(installed.value())) {
        qCWarning(lcSelfUpdate).noquote() << "the new copy at" << installed.value() << "did not start";
        m_window->showNotStarted();
        co_return;
    }
    m_services.quit();
}

void AppUpdater::remindLater()
{
    if (m_window->choicesEnabled())
        closeOffer();
}

void AppUpdater::skipThisVersion()
{
    if (!m_window->choicesEnabled())
        return;
    m_preferences.skip(*m_offered);
    closeOffer();
}

void AppUpdater::dismiss()
{
    if (m_window->canClose())
        closeOffer();
}

void AppUpdater::closeOffer()
{
    const bool offerEnded = m_window->phase() == UpdateWindowState::Phase::Available ||
                            m_window->phase() == UpdateWindowState::Phase::Failed;
    m_window->hide();
    if (offerEnded) {
        m_offered.reset();
        setCanCheck(true);
        // A scheduled check that came while the offer stood comes now.
        scheduleNextCheck();
    }
}

void AppUpdater::setCanCheck(bool can)
{
    if (can == m_canCheck)
        return;
    m_canCheck = can;
    Q_EMIT canCheckChanged();
}

void AppUpdater::scheduleNextCheck()
{
    m_schedule.stop();
    if (m_team.isEmpty() || !m_automaticallyChecks)
        return;
    m_schedule.start(m_preferences.untilNextCheck(m_services.now()));
}
