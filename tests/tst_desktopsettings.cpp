#include "app/desktop/desktopsettings.h"
#include "harness/standinportal.h"
#include "platform/userdefaults.h"

#include <QDBusConnection>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString &appearance = StandInPortal::appearance;
const QString &windowManager = StandInPortal::windowManager;
const QString &colorScheme = StandInPortal::colorScheme;
const QString &doubleClick = StandInPortal::doubleClick;
const QString &buttonLayout = StandInPortal::buttonLayout;

} // namespace

class DesktopSettingsTest : public QObject
{
    Q_OBJECT

private:
    StandInPortal m_portal;

    void set(const QString &group, const QString &key, const QVariant &value) { m_portal.set(group, key, value); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_portal.exportObject(), "run on a session bus: dbus-run-session -- tst_desktopsettings");
    }

    void cleanup() { m_portal.disappear(); }

    void readsAtStart_data()
    {
        QTest::addColumn<bool>("hasReadOne");
        QTest::addColumn<QVariant>("scheme");
        QTest::addColumn<QVariant>("action");
        QTest::addColumn<QVariant>("layout");
        QTest::addColumn<bool>("prefersDark");
        QTest::addColumn<TitleBarAction>("doubleClickAction");
        QTest::addColumn<bool>("closeButtonLeading");

        const QVariant unset;
        const auto text = [](const char *value) { return QVariant(QString::fromLatin1(value)); };
        QTest::newRow("dark") << true << QVariant(1u) << unset << unset << true << TitleBarAction::Zoom << true;
        QTest::newRow("light") << true << QVariant(2u) << unset << unset << false << TitleBarAction::Zoom << true;
        QTest::newRow("no preference") << true << QVariant(0u) << unset << unset << false << TitleBarAction::Zoom
                                       << true;
        QTest::newRow("minimize") << true << unset << text("minimize") << unset << false << TitleBarAction::Minimize
                                  << true;
        QTest::newRow("none") << true << unset << text("none") << unset << false << TitleBarAction::None << true;
        QTest::newRow("toggle-maximize") << true << unset << text("toggle-maximize") << unset << false
                                         << TitleBarAction::Zoom << true;
        QTest::newRow("an action without a counterpart")
            << true << unset << text("toggle-shade") << unset << false << TitleBarAction::Zoom << true;
        QTest::newRow("close trailing") << true << unset << unset << text("appmenu:minimize,maximize,close") << false
                                        << TitleBarAction::Zoom << false;
        QTest::newRow("close leading") << true << unset << unset << text("close,minimize,maximize:") << false
                                       << TitleBarAction::Zoom << true;
        QTest::newRow("no colon: all leading")
            << true << unset << unset << text("close,minimize") << false << TitleBarAction::Zoom << true;
        QTest::newRow("Read only, wrapped twice") << false << QVariant(1u) << text("minimize") << text("appmenu:close")
                                                  << true << TitleBarAction::Minimize << false;
    }

    void readsAtStart()
    {
        QFETCH(bool, hasReadOne);
        QFETCH(QVariant, scheme);
        QFETCH(QVariant, action);
        QFETCH(QVariant, layout);
        m_portal.hasReadOne = hasReadOne;
        set(appearance, colorScheme, scheme);
        set(windowManager, doubleClick, action);
        set(windowManager, buttonLayout, layout);
        QVERIFY(m_portal.appear());

        DesktopSettings settings;
        QTRY_VERIFY(settings.isReady());
        QTEST(settings.prefersDark(), "prefersDark");
        QTEST(settings.doubleClickAction(), "doubleClickAction");
        QTEST(settings.closeButtonLeading(), "closeButtonLeading");
    }

    void followsChanges()
    {
        set(appearance, colorScheme, 2u);
        QVERIFY(m_portal.appear());
        DesktopSettings settings;
        QTRY_VERIFY(settings.isReady());
        QSignalSpy darkChanged(&settings, &DesktopSettings::prefersDarkChanged);
        QSignalSpy layoutChanged(&settings, &DesktopSettings::closeButtonLeadingChanged);

        m_portal.change(appearance, colorScheme, 1u);
        // Another group's key of the same name is not the window's.
        m_portal.change(QStringLiteral("org.gnome.desktop.interface"), colorScheme, 2u);
        QVERIFY(!settings.reduceMotion());
        m_portal.change(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"), false);
        m_portal.change(windowManager, buttonLayout, QStringLiteral(":close"));
        QTRY_COMPARE(layoutChanged.count(), 1);
        QCOMPARE(darkChanged.count(), 1);
        QVERIFY(settings.prefersDark());
        QVERIFY(!settings.closeButtonLeading());
        QVERIFY(settings.reduceMotion());
    }

    void defaultsWithoutPortal_data()
    {
        QTest::addColumn<bool>("busConnected");
        QTest::newRow("no portal on the bus") << true;
        QTest::newRow("no bus at all") << false;
    }

    void defaultsWithoutPortal()
    {
        QFETCH(bool, busConnected);
        DesktopSettings settings(busConnected ? QDBusConnection::sessionBus()
                                              : QDBusConnection(QStringLiteral("never connected")));
        QTRY_VERIFY(settings.isReady());
        QVERIFY(!settings.prefersDark());
        QCOMPARE(settings.doubleClickAction(), TitleBarAction::Zoom);
        QVERIFY(settings.closeButtonLeading());
    }

    void storedChoiceBeatsDesktop_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<TitleBarAction>("action");
        QTest::newRow("nothing stored: the desktop's") << QVariant() << TitleBarAction::Minimize;
        QTest::newRow("None stored") << QVariant(QStringLiteral("None")) << TitleBarAction::None;
        QTest::newRow("any other value stored zooms") << QVariant(QStringLiteral("Maximize")) << TitleBarAction::Zoom;
    }

    void storedChoiceBeatsDesktop()
    {
        QFETCH(QVariant, stored);
        set(windowManager, doubleClick, QStringLiteral("minimize"));
        QVERIFY(m_portal.appear());
        DesktopSettings desktop;
        QTRY_VERIFY(desktop.isReady());

        QTemporaryDir folder;
        auto settings =
            std::make_shared<QSettings>(folder.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
        if (stored.isValid())
            settings->setValue(QStringLiteral("AppleActionOnDoubleClick"), stored);
        const UserDefaults defaults({QStringLiteral("store")}, settings);
        QTEST(TitleBarActions::current(defaults, desktop.doubleClickAction()), "action");
    }
};

QTEST_GUILESS_MAIN(DesktopSettingsTest)
#include "tst_desktopsettings.moc"
