#include "app/storeroot.h"
#include "app/theme/theme.h"
#include "app/tray/statusbarcontroller.h"
#include "app/window/storecommands.h"
#include "app/window/storewindow.h"
#include "codesign/bundlesignatureverifier.h"
#include "harness/appshelf.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "harness/standinwatcher.h"
#include "harness/traymenu.h"
#include "model/storemodel.h"
#include "presentation/storestatus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

using namespace CatalogFixtures;

// The store's tray item as a desktop sees it over D-Bus, on a private session bus under a real
// X display: its menu, read and clicked through the menu protocol.
class TrayTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ReleaseFactory> m_releases;
    std::unique_ptr<ModelFixture> m_fixture;
    std::unique_ptr<StoreModel> m_model;
    std::unique_ptr<StoreStatus> m_status;
    std::unique_ptr<StoreCommands> m_commands;
    std::unique_ptr<StoreWindow> m_window;
    std::unique_ptr<StatusBarController> m_tray;

    TrayMenu menu() const { return TrayMenu(StandInWatcher::registered().constLast()); }

    void startTray(StoreModel *model, StoreCommands *commands, StoreWindow *window)
    {
        // Each item registers anew, under a name of its own.
        const qsizetype registered = StandInWatcher::registered().size();
        m_tray = std::make_unique<StatusBarController>(model, commands, window);
        QVERIFY(m_tray->isShown());
        QTRY_COMPARE(StandInWatcher::registered().size(), registered + 1);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(StandInWatcher::start(), "run on a session bus: dbus-run-session"); }

    void cleanupTestCase() { StandInWatcher::stop(); }

    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_folder = std::make_unique<QTemporaryDir>();
        m_releases = std::make_unique<ReleaseFactory>(m_folder->path());
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
        m_fixture->environment.verifier = std::make_shared<BundleSignatureVerifier>(m_releases->anchors());
    }

    void cleanup()
    {
        m_tray.reset();
        m_window.reset();
        m_commands.reset();
        m_status.reset();
        m_model.reset();
        m_fixture.reset();
    }

    // Nothing to update, and no updater to check with: the seven entries, two of them greyed,
    // as often as the menu opens.
    void nothingToUpdate()
    {
        m_model = m_fixture->makeModel();
        m_status = std::make_unique<StoreStatus>(m_model.get());
        m_commands = std::make_unique<StoreCommands>(m_status.get(), nullptr);
        m_window = std::make_unique<StoreWindow>(nullptr);
        startTray(m_model.get(), m_commands.get(), m_window.get());
        const QStringList expected{QStringLiteral("Open Tessel Store"),         QStringLiteral("-"),
                                   QStringLiteral("Everything is up to date."), QStringLiteral("Check for App Updates"),
                                   QStringLiteral("Check for Updates…"),        QStringLiteral("-"),
                                   QStringLiteral("Quit Tessel Store")};
        for (int opening = 0; opening < 2; ++opening) {
            const QList<TrayMenu::Entry> menu = this->menu().open();
            QCOMPARE(TrayMenu::labels(menu), expected);
            QVERIFY(!menu.at(2).enabled);
            QVERIFY(menu.at(3).enabled);
            QVERIFY(!menu.at(4).enabled);
            QVERIFY(menu.at(6).enabled);
        }
    }

    // Three updates waiting: the entry updates them all, and the next opening has none left.
    void updateAllFromTheMenu()
    {
        const AppShelf shelf(m_signer, *m_server, *m_releases);
        QList<Publication> publications;
        for (const QString &id : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
            shelf.preinstall(id, QStringLiteral("1"), m_fixture->environment.locations.systemApplications);
            publications.append(shelf.zipped(id, QStringLiteral("2")));
        }
        shelf.publish(publications);
        m_model = AppShelf::loadedModel(*m_fixture);
        QCOMPARE(m_model->updates().size(), 3);
        startTray(m_model.get(), nullptr, nullptr);

        const TrayMenu tray = menu();
        QList<TrayMenu::Entry> entries = tray.open();
        QCOMPARE(entries.value(2).label, QStringLiteral("Update All (3)"));
        QVERIFY(entries.value(2).enabled);
        tray.click(entries.value(2));
        QTRY_VERIFY_WITH_TIMEOUT(m_model->updates().isEmpty() && m_model->jobs().isEmpty(), 20000);
        entries = tray.open();
        QCOMPARE(entries.value(2).label, QStringLiteral("Everything is up to date."));
        QVERIFY(!entries.value(2).enabled);
    }

    // With the window closed the store runs on in the tray; its first entry opens a new window.
    void openTheStoreFromTheTray()
    {
        QQmlApplicationEngine engine;
        engine.addImportPath(QStringLiteral(":/qt/qml"));
        StoreRoot root(&engine);
        root.openWindow();
        QCOMPARE(engine.rootObjects().size(), 1);
        auto *first = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        QVERIFY(QTest::qWaitForWindowExposed(first));
        startTray(StoreModel::shared(), root.commands(), root.window());
        first->resize(1300, 800);
        first->close();
        QTRY_VERIFY(engine.rootObjects().isEmpty());
        QVERIFY(!root.window()->isVisible());

        // The test runs from no bundle, so its updater has no configuration: never checkable.
        const TrayMenu tray = menu();
        for (int opening = 0; opening < 2; ++opening) {
            tray.open();
            QVERIFY(!tray.entry(QStringLiteral("Check for Updates…")).enabled);
        }
        tray.click(tray.open().value(0));
        QTRY_COMPARE(engine.rootObjects().size(), 1);
        auto *reopened = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        QVERIFY(QTest::qWaitForWindowExposed(reopened));
        QVERIFY(root.window()->isVisible());
        QCOMPARE(reopened->size(), QSize(1180, 760));
        m_tray.reset();
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qunsetenv(variable);
    // Widgets, as the store has them, for the item's menu.
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    Theme::prepareApplication();
    TrayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tray.moc"
