#include "app/theme/appearancesetting.h"
#include "app/theme/storepalette.h"
#include "app/updater/appupdater.h"
#include "app/window/storecommands.h"
#include "codesign/bundlesignatureverifier.h"
#include "harness/bundlefactory.h"
#include "harness/storemachine.h"
#include "harness/windowtestmain.h"
#include "platform/runningapplications.h"

#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <QtQml/qqmlextensionplugin.h>

#include <atomic>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_StylePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_UpdaterPlugin)

using Phase = UpdateWindowState::Phase;

namespace {

// The real verifier, counting how often the running copy's team is asked for.
class CountingVerifier : public BundleSignatureVerifier
{
public:
    using BundleSignatureVerifier::BundleSignatureVerifier;
    CodeSignatureResult<QString> team(const QString &bundle) const override
    {
        ++teamReads;
        return BundleSignatureVerifier::team(bundle);
    }
    mutable std::atomic<int> teamReads = 0;
};

// The log lines of one category, kept while the object lives.
class CapturedLog
{
public:
    CapturedLog() { s_lines.clear(), m_previous = qInstallMessageHandler(&CapturedLog::capture); }
    ~CapturedLog() { qInstallMessageHandler(m_previous); }
    static const QStringList &lines() { return s_lines; }

private:
    static void capture(QtMsgType, const QMessageLogContext &, const QString &message) { s_lines.append(message); }
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace

class AppUpdaterTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StoreMachine> m_machine;
    std::shared_ptr<CountingVerifier> m_verifier;
    std::shared_ptr<QSettings> m_settings;
    int m_quits = 0;

    std::unique_ptr<AppUpdater> updater(const QString &bundle)
    {
        AppUpdater::Services services{
            .session = &m_machine->session,
            .verifier = m_verifier,
            .launcher = std::make_shared<ProcessTable>(),
            .systemVersion = {6, 1, 0},
            .temporary = m_machine->temporary(),
            .quit = [this] { ++m_quits; },
            .now = [] { return QDateTime::currentDateTimeUtc(); },
        };
        return std::make_unique<AppUpdater>(Bundle::at(bundle), UserDefaults({QStringLiteral("store")}, m_settings),
                                            std::move(services));
    }

    // An updater over the running store, started.
    std::unique_ptr<AppUpdater> started()
    {
        auto made = updater(m_machine->store.running());
        made->start();
        if (!QTest::qWaitFor([&] { return made->canCheck(); }, 10000))
            qFatal("the updater did not start");
        return made;
    }

    void publishNewer(const QString &notes = QString())
    {
        m_machine->store.publish(QStringLiteral("1.1"), QStringLiteral("110"),
                                 m_machine->store.release(QStringLiteral("1.1"), QStringLiteral("110")), std::nullopt,
                                 notes.isEmpty() ? std::nullopt : std::optional(notes));
    }

private Q_SLOTS:
    void init()
    {
        m_machine = std::make_unique<StoreMachine>();
        m_verifier = std::make_shared<CountingVerifier>(m_machine->releases.anchors());
        m_settings = m_machine->defaults();
        m_quits = 0;
    }

    void anOfferedUpdateIsInstalledAndTheNewCopyStarts()
    {
        publishNewer(QStringLiteral("<h2>What’s new</h2><ul><li>Faster checks</li></ul>"));
        const auto store = started();
        StoreCommands commands(nullptr, store.get());
        QVERIFY(commands.canCheckForUpdates());
        QSignalSpy commandChanges(&commands, &StoreCommands::canCheckForUpdatesChanged);
        QSignalSpy relaunching(store.get(), &AppUpdater::relaunching);

        commands.checkForUpdates();
        // Every place that offers a check is disabled while it runs.
        QVERIFY(!store->canCheck());
        QVERIFY(!commands.canCheckForUpdates());
        QCOMPARE(commandChanges.count(), 1);
        QCOMPARE(store->window()->phase(), Phase::Checking);
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Available, 10000);
        QCOMPARE(store->window()->message(),
                 QStringLiteral("Tessel Store 1.1 is now available — you have 1.0. Would you like to install it now?"));
        QCOMPARE(store->window()->releaseNotes(), QStringLiteral("What’s new\nFaster checks"));
        QVERIFY(!store->canCheck());

        store->installUpdate();
        QVERIFY(!store->window()->canClose());
        QVERIFY(!store->window()->choicesEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(m_quits, 1, 20000);
        QCOMPARE(store->window()->phase(), Phase::Relaunching);
        QCOMPARE(relaunching.count(), 1);
        QCOMPARE(Bundle::at(m_machine->store.running()).string(QStringLiteral("CFBundleVersion")),
                 QStringLiteral("110"));
        QCOMPARE(QDir(m_machine->applications()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Tessel Store.app")});
        QCOMPARE(QDir(m_machine->temporary()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        // The new copy itself runs: its executable writes its build.
        QTRY_COMPARE_WITH_TIMEOUT(m_machine->releases.launches(), QByteArray("110\n"), 5000);
    }

    void nothingNewerIsToldOnlyToTheUserWhoAsked()
    {
        m_machine->store.publish(QStringLiteral("1.0"), QStringLiteral("100"), QByteArray("the same store"));
        const auto store = started();
        store->checkForUpdates();
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::UpToDate, 10000);
        QCOMPARE(store->window()->message(), QStringLiteral("Tessel Store 1.0 is the newest version."));
        QVERIFY(store->canCheck());
        store->dismiss();
        QVERIFY(!store->window()->isVisible());

        // On the schedule (a day since the last check, as there was none) the same says nothing.
        m_settings->remove(QStringLiteral("SULastCheckTime"));
        m_settings->setValue(QStringLiteral("SUEnableAutomaticChecks"), QStringLiteral("true"));
        const auto scheduled = started();
        QVERIFY(scheduled->automaticallyChecks());
        QTRY_VERIFY_WITH_TIMEOUT(m_settings->contains(QStringLiteral("SULastCheckTime")), 10000);
        QTRY_VERIFY(scheduled->canCheck());
        QCOMPARE(scheduled->window()->phase(), Phase::Hidden);
    }

    void aSkippedVersionWaitsForTheUserToAsk()
    {
        publishNewer();
        {
            const auto store = started();
            store->checkForUpdates();
            QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Available, 10000);
            store->skipThisVersion();
            QCOMPARE(store->window()->phase(), Phase::Hidden);
            QVERIFY(store->canCheck());
        }
        m_settings->remove(QStringLiteral("SULastCheckTime"));
        m_settings->setValue(QStringLiteral("SUEnableAutomaticChecks"), QStringLiteral("true"));
        const auto store = started();
        QTRY_VERIFY_WITH_TIMEOUT(m_settings->contains(QStringLiteral("SULastCheckTime")), 10000);
        QTRY_VERIFY(store->canCheck());
        QCOMPARE(store->window()->phase(), Phase::Hidden);
        store->checkForUpdates();
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Available, 10000);
        // Later keeps it offered to the next check.
        store->remindLater();
        QVERIFY(store->canCheck());
        QCOMPARE(store->window()->phase(), Phase::Hidden);
    }

    void aRefusedUpdateSaysWhyAndKeepsTheRunningCopy()
    {
        QByteArray archive = m_machine->store.release(QStringLiteral("1.1"), QStringLiteral("110"));
        const QString signature = m_machine->releases.signature(archive);
        archive[archive.size() / 2] = char(archive[archive.size() / 2] ^ 0x01);
        m_machine->store.publish(QStringLiteral("1.1"), QStringLiteral("110"), archive, signature);
        const auto store = started();
        store->checkForUpdates();
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Available, 10000);
        store->installUpdate();
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Failed, 10000);
        QCOMPARE(store->window()->message(), QStringLiteral("The update did not pass the security check, so it was "
                                                            "not installed. Tessel Store 1.0 stays as it is."));
        QCOMPARE(m_quits, 0);
        QCOMPARE(Bundle::at(m_machine->store.running()).string(QStringLiteral("CFBundleVersion")),
                 QStringLiteral("100"));
        QVERIFY(m_verifier->team(m_machine->store.running()));
        QVERIFY(!store->canCheck());
        store->dismiss();
        QVERIFY(store->canCheck());
        QCOMPARE(m_machine->releases.launches(), QByteArray());
    }

    void startingTwiceOrUnconfiguredDoesNothingMore()
    {
        const auto store = started();
        QSignalSpy changes(store.get(), &AppUpdater::canCheckChanged);
        store->start();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(m_verifier->teamReads.load(), 1);
        QCOMPARE(changes.count(), 0);

        QVariantMap info = m_machine->store.info(QStringLiteral("1.0"), QStringLiteral("100"));
        info.insert(QStringLiteral("SUFeedURL"), QStringLiteral("http://127.0.0.1/appcast.xml"));
        const QString plain = BundleFactory::write(m_machine->path(QStringLiteral("Plain.app")), info);
        const auto unconfigured = updater(plain);
        QVERIFY(!unconfigured->isConfigured());
        unconfigured->start();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(m_verifier->teamReads.load(), 1);
        QVERIFY(!unconfigured->canCheck());
        // Without an updater the switch moves, and nothing is kept.
        unconfigured->setAutomaticallyChecks(true);
        QVERIFY(unconfigured->automaticallyChecks());
        QVERIFY(!m_settings->contains(QStringLiteral("SUEnableAutomaticChecks")));
        // Checking asks for nothing.
        unconfigured->checkForUpdates();
        QCOMPARE(unconfigured->window()->phase(), Phase::Hidden);
    }

    void aStoreWhoseOwnSignatureFailsHasNoUpdater()
    {
        const QString unsignedStore =
            BundleFactory::write(m_machine->path(QStringLiteral("Unsigned.app")),
                                 m_machine->store.info(QStringLiteral("1.0"), QStringLiteral("100")));
        const auto store = updater(unsignedStore);
        QVERIFY(store->isConfigured());
        const CapturedLog log;
        store->start();
        QTRY_VERIFY_WITH_TIMEOUT(!log.lines().isEmpty(), 10000);
        QVERIFY2(log.lines().constFirst().startsWith(QStringLiteral("Tessel Store: the updater did not start: ")),
                 qPrintable(log.lines().constFirst()));
        QVERIFY(!store->canCheck());
    }

    void theAutomaticSwitchIsKeptOnceStarted()
    {
        const auto store = started();
        QVERIFY(!store->automaticallyChecks());
        QSignalSpy changes(store.get(), &AppUpdater::automaticallyChecksChanged);
        store->setAutomaticallyChecks(true);
        store->setAutomaticallyChecks(true);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_settings->value(QStringLiteral("SUEnableAutomaticChecks")).toString(), QStringLiteral("true"));
        store->setAutomaticallyChecks(false);
        QCOMPARE(m_settings->value(QStringLiteral("SUEnableAutomaticChecks")).toString(), QStringLiteral("false"));
        // The bundle's own default, until the user chooses.
        m_settings->remove(QStringLiteral("SUEnableAutomaticChecks"));
        m_machine->store.install(QStringLiteral("1.0"), QStringLiteral("100"),
                                 {{QStringLiteral("SUEnableAutomaticChecks"), true}});
        QVERIFY(started()->automaticallyChecks());
    }

    // The stored choice shows before the updater has started, and a choice made meanwhile is kept.
    void theSwitchHoldsWhileTheUpdaterStarts()
    {
        m_settings->setValue(QStringLiteral("SUEnableAutomaticChecks"), QStringLiteral("true"));
        const auto store = updater(m_machine->store.running());
        QVERIFY(store->automaticallyChecks());
        store->setAutomaticallyChecks(false);
        QCOMPARE(m_settings->value(QStringLiteral("SUEnableAutomaticChecks")).toString(), QStringLiteral("false"));
        store->start();
        QTRY_VERIFY_WITH_TIMEOUT(store->canCheck(), 10000);
        QVERIFY(!store->automaticallyChecks());
    }

    // A scheduled check that read no feed (no network yet, say) is not the day's check.
    void aFailedCheckIsNotTheDaysCheck()
    {
        m_machine->server.respond("/store/appcast.xml", HttpResponse::notFound());
        m_settings->setValue(QStringLiteral("SUEnableAutomaticChecks"), QStringLiteral("true"));
        const auto store = started();
        QTRY_VERIFY_WITH_TIMEOUT(m_machine->server.hits("/store/appcast.xml") >= 1, 10000);
        QTRY_VERIFY(store->canCheck());
        QVERIFY(!m_settings->contains(QStringLiteral("SULastCheckTime")));
        QCOMPARE(store->window()->phase(), Phase::Hidden);
    }

    // The window itself: shown by the offer, its buttons pressable, gone with the answer,
    // and never taken for a main window.
    void theWindowOffersAndCloses()
    {
        StorePalette palette(nullptr);
        AppearanceSetting appearance(UserDefaults({QStringLiteral("store")}, m_settings), &palette);
        StorePalette::provide(&palette);
        AppearanceSetting::provide(&appearance);
        publishNewer(QStringLiteral("Faster checks."));
        const auto store = started();
        AppUpdater::provide(store.get());
        QQmlApplicationEngine engine;
        engine.addImportPath(QStringLiteral(":/qt/qml"));
        engine.load(QUrl(QStringLiteral("qrc:/qt/qml/TesselStore/Updater/UpdateWindow.qml")));
        QCOMPARE(engine.rootObjects().size(), 1);
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        QVERIFY(window);
        QVERIFY(!window->objectName().startsWith(QLatin1String("main")));
        QVERIFY(!window->isVisible());

        store->checkForUpdates();
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(store->window()->phase(), Phase::Available, 10000);
        auto *later = window->findChild<QQuickItem *>(QStringLiteral("later"));
        auto *install = window->findChild<QQuickItem *>(QStringLiteral("install"));
        QVERIFY(later && install && later->isVisible() && later->isEnabled() && install->isEnabled());
        QCOMPARE(window->findChild<QQuickItem *>(QStringLiteral("releaseNotes"))->property("text").toString(),
                 QStringLiteral("Faster checks."));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPointF centre = later->mapToScene(QPointF(later->width() / 2, later->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(store->canCheck());
    }

    void theWindowFollowsThePhases()
    {
        UpdateWindowState window;
        window.setRunningVersion(QStringLiteral("1.0"));
        QSignalSpy changes(&window, &UpdateWindowState::changed);
        QSignalSpy progress(&window, &UpdateWindowState::progressChanged);
        QVERIFY(!window.isVisible());

        window.showAvailable(QStringLiteral("1.1"),
                             QStringLiteral("<p>One</p><p>Two &amp; <img src=\"https://x/y.png\">three</p>"));
        QCOMPARE(changes.count(), 1);
        // Plain text only: the picture is no part of it.
        QCOMPARE(window.releaseNotes(), QStringLiteral("One\nTwo & three"));
        QVERIFY(window.showsChoices() && window.choicesEnabled() && window.canClose());
        QVERIFY(!window.showsProgress() && !window.showsDismiss());

        window.showDownloading();
        QCOMPARE(window.title(), QStringLiteral("Downloading Tessel Store 1.1…"));
        QVERIFY(window.showsChoices() && !window.choicesEnabled() && !window.canClose());
        QVERIFY(window.showsProgress() && window.progressKnown());
        window.setProgress(0.4);
        window.setProgress(0.4);
        QCOMPARE(progress.count(), 1);
        window.setProgress(1);
        QCOMPARE(window.phase(), Phase::Installing);
        QVERIFY(!window.progressKnown() && window.showsProgress() && !window.canClose());

        window.showFailed(InstallFailure::Kind::Download);
        QCOMPARE(window.message(), QStringLiteral("The download did not finish. Check your connection and try again. "
                                                  "Tessel Store 1.0 stays as it is."));
        QVERIFY(window.showsDismiss() && window.canClose() && !window.showsChoices());
        window.showFailed(InstallFailure::Kind::CannotReplace);
        QVERIFY(window.message().startsWith(QStringLiteral("Tessel Store could not replace itself.")));
        window.showNotStarted();
        QVERIFY(window.message().startsWith(QStringLiteral("Tessel Store 1.1 is installed but did not start.")));

        window.showUpToDate();
        QCOMPARE(window.title(), QStringLiteral("You’re up to date!"));
        QCOMPARE(window.message(), QStringLiteral("Tessel Store 1.0 is the newest version."));
        QVERIFY(window.showsDismiss() && !window.showsProgress());
        window.hide();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.title(), QString());
    }
};

int main(int argc, char *argv[])
{
    return runWindowTest<AppUpdaterTest>(argc, argv);
}
#include "tst_appupdater.moc"
