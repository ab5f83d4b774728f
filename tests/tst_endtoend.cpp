#include "app/storeroot.h"
#include "app/theme/appearancesetting.h"
#include "app/theme/theme.h"
#include "app/tray/statusbarcontroller.h"
#include "app/window/storecommands.h"
#include "app/window/storewindow.h"
#include "harness/standinwatcher.h"
#include "harness/traymenu.h"
#include "harness/windowdriver.h"
#include "model/storemodel.h"
#include "net/networksession.h"
#include "platform/bundle.h"
#include "platform/desktopentryregistry.h"
#include "platform/locations.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// The store as a person uses it, against the demo service: the real composition root, window,
// model and tray, run from inside the demo's store bundle by the demo's own check. Each step
// leaves a picture in $TESSEL_E2E_SHOTS; the steps run in order, each on what the last left.
class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    QQmlApplicationEngine m_engine;
    std::unique_ptr<StoreRoot> m_root;
    std::unique_ptr<StatusBarController> m_tray;
    int m_shots = 0;

    QQuickWindow *rootWindow(const std::function<bool(const QQuickWindow *)> &wanted) const
    {
        for (QObject *root : m_engine.rootObjects()) {
            auto *window = qobject_cast<QQuickWindow *>(root);
            if (window && wanted(window))
                return window;
        }
        return nullptr;
    }
    QQuickWindow *window() const { return rootWindow(&StoreWindow::isMainWindow); }
    QQuickItem *item(const QString &name) const
    {
        return window() ? WindowDriver::findItem(window()->contentItem(), name) : nullptr;
    }
    QQuickItem *text(const QString &shown, QQuickItem *under = nullptr) const
    {
        return WindowDriver::findText(under ? under : window()->contentItem(), shown);
    }
    bool click(const QString &name) const { return WindowDriver::click(window(), item(name)); }
    QString buttonText(const QString &card) const
    {
        const QQuickItem *button = WindowDriver::findItem(item(card), QStringLiteral("actionButton"));
        return button ? button->property("text").toString() : QString();
    }
    // A picture of the main window, or of another one, numbered in the order of the steps.
    void shoot(const QString &name, QQuickWindow *shown = nullptr)
    {
        const QString folder = qEnvironmentVariable("TESSEL_E2E_SHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        QTest::qWait(400); // springs and fades come to rest
        const QString file = QStringLiteral("%1/%2-%3.png").arg(folder).arg(++m_shots).arg(name);
        QVERIFY2((shown ? shown : window())->grabWindow().save(file), qPrintable(file));
    }
    void showSection(const QString &section)
    {
        QVERIFY2(click(QStringLiteral("section-") + section), qPrintable(section));
        QTest::qWait(100);
    }
    static StoreModel *model() { return StoreModel::shared(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("xcb"), "run under an X server: xvfb-run");
        QVERIFY2(StandInWatcher::start(), "run on a session bus of its own: dbus-run-session");
        m_engine.addImportPath(QStringLiteral(":/qt/qml"));
        m_root = std::make_unique<StoreRoot>(&m_engine);
        m_root->appearance()->setAppearance(QStringLiteral("light"));
        m_tray = std::make_unique<StatusBarController>(model(), m_root->commands(), m_root->window());
        QVERIFY(m_tray->isShown());
        m_root->openWindow();
        QVERIFY(window());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QTRY_VERIFY_WITH_TIMEOUT(m_root->isSettled() && !model()->apps().isEmpty(), 20000);
    }

    void cleanupTestCase()
    {
        // The apps this run opened go with it.
        QProcess::execute(QStringLiteral("pkill"), {QStringLiteral("-TERM"), QStringLiteral("-f"),
                                                    QStringLiteral("^") + Locations::standard().systemApplications});
        m_tray.reset();
        m_root.reset();
        StandInWatcher::stop();
    }

    void exploreShowsTheCatalogAndSearchNarrowsIt()
    {
        for (const QString &id :
             {QStringLiteral("lumen"), QStringLiteral("quire"), QStringLiteral("tally"), QStringLiteral("cadence")})
            QTRY_VERIFY2(item(QStringLiteral("card-") + id), qPrintable(id));
        QVERIFY2(!item(QStringLiteral("card-orbit")), "Orbit needs a newer system");
        shoot(QStringLiteral("explore"));

        QVERIFY(click(QStringLiteral("search")));
        for (const char key : {'q', 'u', 'i'})
            QTest::keyClick(window(), key);
        const auto shown = [this] {
            QStringList cards;
            for (const QString &id : {QStringLiteral("lumen"), QStringLiteral("quire"), QStringLiteral("tally"),
                                      QStringLiteral("cadence")}) {
                if (item(QStringLiteral("card-") + id))
                    cards.append(id);
            }
            return cards;
        };
        QTRY_COMPARE(shown(), QStringList{QStringLiteral("quire")});
        shoot(QStringLiteral("explore-search"));
        item(QStringLiteral("search"))->setProperty("text", QString());
        QTRY_VERIFY(item(QStringLiteral("card-lumen")));
    }

    void getInstallsAndOpensAnApp()
    {
        QCOMPARE(buttonText(QStringLiteral("card-quire")), QStringLiteral("Get"));
        QVERIFY(WindowDriver::click(
            window(), WindowDriver::findItem(item(QStringLiteral("card-quire")), QStringLiteral("actionButton"))));
        QTRY_VERIFY(model()->jobs().contains(QStringLiteral("quire")) ||
                    model()->installed().contains(QStringLiteral("quire")));
        shoot(QStringLiteral("installing"));
        QTRY_COMPARE_WITH_TIMEOUT(buttonText(QStringLiteral("card-quire")), QStringLiteral("Open"), 30000);
        const QString copy = model()->installed().value(QStringLiteral("quire")).url;
        QVERIFY(!DesktopEntryRegistry(Locations::standard()).applications(QStringLiteral("com.orvel.quire")).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(
            QProcess::execute(QStringLiteral("pgrep"), {QStringLiteral("-f"), QStringLiteral("^") + copy}), 0, 10000);
        shoot(QStringLiteral("installed"));

        showSection(QStringLiteral("myApps"));
        QTRY_VERIFY(item(QStringLiteral("row-quire")));
        shoot(QStringLiteral("my-apps"));
    }

    void updatesAreCountedListedAndUpdated()
    {
        QQuickItem *badge =
            WindowDriver::findItem(item(QStringLiteral("section-updates")), QStringLiteral("badgeCount"));
        QVERIFY(badge);
        QTRY_COMPARE(badge->property("text").toString(), QStringLiteral("1"));
        showSection(QStringLiteral("updates"));
        QTRY_VERIFY(item(QStringLiteral("row-lumen")));
        QVERIFY(text(QStringLiteral("3.1 → 3.2"), item(QStringLiteral("row-lumen"))->parentItem()));
        shoot(QStringLiteral("updates"));

        // A second one: an older Tally, put there by hand, as the store finds it on a check.
        const QString archive = qEnvironmentVariable("TESSEL_DEMO_SERVICE") + QStringLiteral("/archives/tally-1.5.zip");
        QCOMPARE(QProcess::execute(QStringLiteral("bsdtar"), {QStringLiteral("-xf"), archive, QStringLiteral("-C"),
                                                              Locations::standard().systemApplications}),
                 0);
        QVERIFY(click(QStringLiteral("checkAgain")));
        QTRY_VERIFY_WITH_TIMEOUT(item(QStringLiteral("row-tally")), 20000);
        QTRY_COMPARE(badge->property("text").toString(), QStringLiteral("2"));
        shoot(QStringLiteral("two-updates"));

        QVERIFY(click(QStringLiteral("updateAll")));
        QTRY_VERIFY_WITH_TIMEOUT(model()->updates().isEmpty() && model()->jobs().isEmpty(), 60000);
        QTRY_VERIFY(text(QStringLiteral("Everything is up to date.")));
        QTRY_VERIFY(!badge->isVisible());
        shoot(QStringLiteral("updated"));
    }

    void aBrokenReleaseSaysSoAndOffersToTryAgain()
    {
        showSection(QStringLiteral("explore"));
        QTRY_VERIFY(item(QStringLiteral("card-cadence")));
        QVERIFY(WindowDriver::click(
            window(), WindowDriver::findItem(item(QStringLiteral("card-cadence")), QStringLiteral("actionButton"))));
        QTRY_COMPARE_WITH_TIMEOUT(buttonText(QStringLiteral("card-cadence")), QStringLiteral("Try Again"), 30000);
        const QString failure = model()->jobs().value(QStringLiteral("cadence")).message;
        QVERIFY(!failure.isEmpty());
        showSection(QStringLiteral("myApps"));
        QTRY_VERIFY(item(QStringLiteral("row-cadence")));
        QVERIFY2(text(failure, item(QStringLiteral("row-cadence"))->parentItem()), qPrintable(failure));
        shoot(QStringLiteral("failed"));
    }

    void darkSurvivesTheWindowClosingToTheTray()
    {
        showSection(QStringLiteral("account"));
        QTRY_VERIFY(item(QStringLiteral("segment-dark")));
        QVERIFY(click(QStringLiteral("segment-dark")));
        QTRY_COMPARE(window()->color(), QColor(0x0D0C11));
        shoot(QStringLiteral("dark"));

        window()->close();
        QTRY_VERIFY(!window());
        const TrayMenu tray(StandInWatcher::registered().constLast());
        tray.open();
        tray.click(tray.entry(QStringLiteral("Open Tessel Store")));
        QTRY_VERIFY(window());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QCOMPARE(window()->color(), QColor(0x0D0C11));
        QTRY_VERIFY_WITH_TIMEOUT(m_root->isSettled(), 20000);
        showSection(QStringLiteral("myApps"));
        QTRY_VERIFY(item(QStringLiteral("row-quire")));
        QVERIFY(!WindowDriver::findItem(item(QStringLiteral("section-updates")), QStringLiteral("badgeCount"))
                     ->isVisible());
        shoot(QStringLiteral("reopened"));
    }

    // Last, since it replaces the bundle this test runs from: the tray's "Check for Updates…"
    // finds the service's newer store, which installs in place and starts.
    void theStoreUpdatesItselfFromTheTray()
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_root->commands()->canCheckForUpdates(), 10000);
        const TrayMenu tray(StandInWatcher::registered().constLast());
        tray.open();
        const TrayMenu::Entry check = tray.entry(QStringLiteral("Check for Updates…"));
        QVERIFY(check.enabled);
        tray.click(check);
        const auto updater = [this] {
            return rootWindow(
                [](const QQuickWindow *window) { return window->objectName() == QLatin1String("updater"); });
        };
        QTRY_VERIFY_WITH_TIMEOUT(updater() && updater()->isVisible(), 20000);
        QQuickItem *install = WindowDriver::findItem(updater()->contentItem(), QStringLiteral("install"));
        QTRY_VERIFY_WITH_TIMEOUT(install && install->isVisible() && install->isEnabled(), 20000);
        QVERIFY(text(QStringLiteral("0.2"), updater()->contentItem()));
        shoot(QStringLiteral("store-update"), updater());

        const QString bundle = Bundle::main().path();
        QVERIFY(WindowDriver::click(updater(), install));
        QTRY_COMPARE_WITH_TIMEOUT(Bundle::at(bundle).string(QStringLiteral("CFBundleShortVersionString")),
                                  QStringLiteral("0.2"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(
            QProcess::execute(
                QStringLiteral("pgrep"),
                {QStringLiteral("-f"), QStringLiteral("^") + bundle + QStringLiteral("/Contents/MacOS/tessel-store")}),
            0, 10000);
    }
};

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    Theme::prepareApplication();
    trustExtraCertificateAuthorities();
    EndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend.moc"
