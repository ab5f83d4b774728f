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
#include "model/storemodel.h"
#include "presentation/storestatus.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QMutex>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace CatalogFixtures;

namespace {

// The desktop's side of the tray: the watcher items register with. It answers from a thread of
// its own, since the store asks it, and waits for the answer, from the main thread.
class StandInWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const
    {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &service)
    {
        QMutexLocker lock(&m_mutex);
        m_items.append(service);
    }
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString &) {}

    void exportOnBus()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
        bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                           QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties);
        bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }

private:
    mutable QMutex m_mutex;
    QStringList m_items;
};

// One entry of the item's menu as the desktop reads it.
struct MenuEntry
{
    int id = 0;
    QString label;
    bool enabled = true;
    bool separator = false;
};

} // namespace

// The store's tray item as a desktop sees it over D-Bus, on a private session bus under a real
// X display: its menu, read and clicked through the menu protocol.
class TrayTest : public QObject
{
    Q_OBJECT

private:
    QThread m_watcherThread;
    StandInWatcher *m_watcher = nullptr;
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

    // A call into this very process: its answer comes while events go on.
    static QDBusMessage callAndWait(const QDBusMessage &call)
    {
        QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call);
        const QDeadlineTimer deadline(10000);
        while (!pending.isFinished() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return pending.reply();
    }

    QString itemService() const
    {
        const QStringList items = m_watcher->items();
        return items.isEmpty() ? QString() : items.constLast();
    }

    QDBusMessage menuCall(const QString &method) const
    {
        return QDBusMessage::createMethodCall(itemService(), QStringLiteral("/MenuBar"),
                                              QStringLiteral("com.canonical.dbusmenu"), method);
    }

    static QList<MenuEntry> children(const QDBusArgument &layout)
    {
        QList<MenuEntry> entries;
        int id = 0;
        QVariantMap properties;
        layout.beginStructure();
        layout >> id >> properties;
        layout.beginArray();
        while (!layout.atEnd()) {
            QDBusVariant child;
            layout >> child;
            const QDBusArgument item = child.variant().value<QDBusArgument>();
            MenuEntry entry;
            QVariantMap itemProperties;
            item.beginStructure();
            item >> entry.id >> itemProperties;
            item.endStructure();
            entry.label = itemProperties.value(QStringLiteral("label")).toString();
            entry.enabled = itemProperties.value(QStringLiteral("enabled"), true).toBool();
            entry.separator = itemProperties.value(QStringLiteral("type")).toString() == QLatin1String("separator");
            entries.append(entry);
        }
        layout.endArray();
        layout.endStructure();
        return entries;
    }

    // Opens the menu as the desktop does, then reads what it shows.
    QList<MenuEntry> openMenu() const
    {
        QDBusMessage aboutToShow = menuCall(QStringLiteral("AboutToShow"));
        aboutToShow << 0;
        callAndWait(aboutToShow);
        QDBusMessage getLayout = menuCall(QStringLiteral("GetLayout"));
        getLayout << 0 << -1 << QStringList();
        const QDBusMessage layout = callAndWait(getLayout);
        if (layout.type() != QDBusMessage::ReplyMessage || layout.arguments().size() != 2)
            return {};
        return children(layout.arguments().at(1).value<QDBusArgument>());
    }

    static QStringList labels(const QList<MenuEntry> &entries)
    {
        QStringList labels;
        for (const MenuEntry &entry : entries)
            labels.append(entry.separator ? QStringLiteral("-") : entry.label);
        return labels;
    }

    void click(const MenuEntry &entry) const
    {
        QDBusMessage event = menuCall(QStringLiteral("Event"));
        event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        callAndWait(event);
    }

    void startTray(StoreModel *model, StoreCommands *commands, StoreWindow *window)
    {
        // Each item registers anew, under a name of its own.
        const qsizetype registered = m_watcher->items().size();
        m_tray = std::make_unique<StatusBarController>(model, commands, window);
        QVERIFY(m_tray->isShown());
        QTRY_COMPARE(m_watcher->items().size(), registered + 1);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run on a session bus: dbus-run-session");
        m_watcher = new StandInWatcher;
        m_watcher->moveToThread(&m_watcherThread);
        connect(&m_watcherThread, &QThread::finished, m_watcher, &QObject::deleteLater);
        m_watcherThread.start();
        QMetaObject::invokeMethod(m_watcher, &StandInWatcher::exportOnBus, Qt::BlockingQueuedConnection);
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.kde.StatusNotifierWatcher")));
    }

    void cleanupTestCase()
    {
        m_watcherThread.quit();
        m_watcherThread.wait();
    }

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
        m_commands = std::make_unique<StoreCommands>(m_status.get());
        m_window = std::make_unique<StoreWindow>(nullptr);
        startTray(m_model.get(), m_commands.get(), m_window.get());
        const QStringList expected{QStringLiteral("Open Tessel Store"),         QStringLiteral("-"),
                                   QStringLiteral("Everything is up to date."), QStringLiteral("Check for App Updates"),
                                   QStringLiteral("Check for Updates…"),        QStringLiteral("-"),
                                   QStringLiteral("Quit Tessel Store")};
        for (int opening = 0; opening < 2; ++opening) {
            const QList<MenuEntry> menu = openMenu();
            QCOMPARE(labels(menu), expected);
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

        QList<MenuEntry> menu = openMenu();
        QCOMPARE(menu.value(2).label, QStringLiteral("Update All (3)"));
        QVERIFY(menu.value(2).enabled);
        click(menu.value(2));
        QTRY_VERIFY_WITH_TIMEOUT(m_model->updates().isEmpty() && m_model->jobs().isEmpty(), 20000);
        menu = openMenu();
        QCOMPARE(menu.value(2).label, QStringLiteral("Everything is up to date."));
        QVERIFY(!menu.value(2).enabled);
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

        click(openMenu().value(0));
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
