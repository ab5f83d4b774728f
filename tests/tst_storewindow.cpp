#include "app/storeroot.h"
#include "app/theme/appearancesetting.h"
#include "app/window/titleband.h"
#include "harness/standinportal.h"
#include "harness/windowtestmain.h"

#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

// The store's own window, opened by its composition root on a private session bus where a
// stand-in plays the desktop portal: what the desktop says reaches the open window.
class StoreWindowTest : public QObject
{
    Q_OBJECT

private:
    StandInPortal m_portal;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<StoreRoot> m_root;
    QQuickWindow *m_window = nullptr;

    // Opens the store as its program does, reading the desktop as it is now.
    void open()
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(QStringLiteral(":/qt/qml"));
        m_root = std::make_unique<StoreRoot>(m_engine.get());
        m_root->openWindow();
        QCOMPARE(m_engine->rootObjects().size(), 1);
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().constFirst());
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    // The page as drawn, in the middle of the window below its title band.
    QColor page() const
    {
        const QImage shot = m_window->grabWindow();
        return shot.pixelColor(shot.width() / 2, shot.height() / 2);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_portal.exportObject(), "run on a session bus: dbus-run-session -- tst_storewindow");
    }

    void cleanup()
    {
        m_window = nullptr;
        m_root.reset();
        m_engine.reset();
        m_portal.disappear();
    }

    void systemAppearanceFollowsTheDesktop_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("scheme");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("dark") << true << 1u << QColor(0x0D0C11);
        QTest::newRow("light") << true << 2u << QColor(0xF6F5F2);
        QTest::newRow("no preference") << true << 0u << QColor(0xF6F5F2);
        QTest::newRow("no portal") << false << 1u << QColor(0xF6F5F2);
    }

    void systemAppearanceFollowsTheDesktop()
    {
        QFETCH(bool, portal);
        QFETCH(uint, scheme);
        QFETCH(QColor, expected);
        if (portal) {
            m_portal.set(StandInPortal::appearance, StandInPortal::colorScheme, scheme);
            QVERIFY(m_portal.appear());
        }
        open();
        QTRY_COMPARE(page(), expected);
    }

    // The desktop turning dark recolours the open window at once; a forced choice holds.
    void aChangeReachesTheOpenWindow()
    {
        m_portal.set(StandInPortal::appearance, StandInPortal::colorScheme, 2u);
        QVERIFY(m_portal.appear());
        open();
        QTRY_COMPARE(page(), QColor(0xF6F5F2));
        m_portal.change(StandInPortal::appearance, StandInPortal::colorScheme, 1u);
        QTRY_COMPARE(page(), QColor(0x0D0C11));

        m_root->appearance()->setAppearance(QStringLiteral("light"));
        QCOMPARE(page(), QColor(0xF6F5F2));
        m_portal.change(StandInPortal::appearance, StandInPortal::colorScheme, 2u);
        m_portal.change(StandInPortal::appearance, StandInPortal::colorScheme, 1u);
        QTest::qWait(100);
        QCOMPARE(page(), QColor(0xF6F5F2));
        m_root->appearance()->setAppearance(QStringLiteral("system"));
        QCOMPARE(page(), QColor(0x0D0C11));
    }

    // A double-click on the title band does what the desktop says a double-click does.
    void doubleClickOnTheTitleBand_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<TitleBand::Action>("understood");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("minimize") << "minimize" << TitleBand::Action::Minimize << Qt::WindowMinimized;
        QTest::newRow("none") << "none" << TitleBand::Action::None << Qt::WindowNoState;
        QTest::newRow("toggle-maximize") << "toggle-maximize" << TitleBand::Action::Zoom << Qt::WindowMaximized;
        QTest::newRow("an action without a counterpart")
            << "toggle-shade" << TitleBand::Action::Zoom << Qt::WindowMaximized;
    }

    void doubleClickOnTheTitleBand()
    {
        QFETCH(QString, action);
        QFETCH(TitleBand::Action, understood);
        QFETCH(Qt::WindowState, state);
        m_portal.set(StandInPortal::windowManager, StandInPortal::doubleClick, action);
        QVERIFY(m_portal.appear());
        open();
        // What the desktop says arrives a moment after the window opens.
        auto *band = m_window->findChild<QObject *>(QStringLiteral("titleBar"))->property("band").value<TitleBand *>();
        QVERIFY(band);
        QTRY_COMPARE(band->doubleClickAction(), understood);
        QTest::mouseDClick(m_window, Qt::LeftButton, {}, QPoint(m_window->width() / 2, 20));
        QTRY_COMPARE(m_window->windowState(), state);
    }
};

int main(int argc, char *argv[])
{
    return runWindowTest<StoreWindowTest>(argc, argv);
}

#include "tst_storewindow.moc"
