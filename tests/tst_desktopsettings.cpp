#include "app/desktop/desktopsettings.h"
#include "platform/userdefaults.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusVariant>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString windowManager = QStringLiteral("org.gnome.desktop.wm.preferences");
const QString colorScheme = QStringLiteral("color-scheme");
const QString doubleClick = QStringLiteral("action-double-click-titlebar");
const QString buttonLayout = QStringLiteral("button-layout");

} // namespace

// A stand-in for the desktop portal's Settings interface, answering with what the test set.
// Without ReadOne it answers as Debian 12's portal does: Read only, the value wrapped twice.
class StandInPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    QHash<QString, QVariant> values; // by "group key"
    bool hasReadOne = true;

public Q_SLOTS:
    QDBusVariant ReadOne(const QString &group, const QString &key)
    {
        if (!hasReadOne) {
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method ReadOne"));
            return {};
        }
        return QDBusVariant(value(group, key));
    }

    QDBusVariant Read(const QString &group, const QString &key)
    {
        return QDBusVariant(QVariant::fromValue(QDBusVariant(value(group, key))));
    }

Q_SIGNALS:
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    QVariant value(const QString &group, const QString &key)
    {
        const QVariant found = values.value(group + u' ' + key);
        if (!found.isValid())
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("No such setting"));
        return found;
    }
};

class DesktopSettingsTest : public QObject
{
    Q_OBJECT

private:
    // The stand-in lives on a connection of its own, as a portal is another process.
    QDBusConnection m_portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    StandInPortal m_portal;

    void set(const QString &group, const QString &key, const QVariant &value)
    {
        if (value.isValid())
            m_portal.values.insert(group + u' ' + key, value);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_portalBus.isConnected(), "run on a session bus: dbus-run-session -- tst_desktopsettings");
        QVERIFY(m_portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &m_portal,
                                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    }

    void cleanup()
    {
        m_portalBus.unregisterService(portalService);
        m_portal.values.clear();
        m_portal.hasReadOne = true;
    }

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
        QVERIFY(m_portalBus.registerService(portalService));

        DesktopSettings settings;
        QTRY_VERIFY(settings.isReady());
        QTEST(settings.prefersDark(), "prefersDark");
        QTEST(settings.doubleClickAction(), "doubleClickAction");
        QTEST(settings.closeButtonLeading(), "closeButtonLeading");
    }

    void followsChanges()
    {
        set(appearance, colorScheme, 2u);
        QVERIFY(m_portalBus.registerService(portalService));
        DesktopSettings settings;
        QTRY_VERIFY(settings.isReady());
        QSignalSpy darkChanged(&settings, &DesktopSettings::prefersDarkChanged);
        QSignalSpy layoutChanged(&settings, &DesktopSettings::closeButtonLeadingChanged);

        Q_EMIT m_portal.SettingChanged(appearance, colorScheme, QDBusVariant(1u));
        // Another group's key of the same name is not the window's.
        Q_EMIT m_portal.SettingChanged(QStringLiteral("org.gnome.desktop.interface"), colorScheme, QDBusVariant(2u));
        Q_EMIT m_portal.SettingChanged(windowManager, buttonLayout, QDBusVariant(QStringLiteral(":close")));
        QTRY_COMPARE(layoutChanged.count(), 1);
        QCOMPARE(darkChanged.count(), 1);
        QVERIFY(settings.prefersDark());
        QVERIFY(!settings.closeButtonLeading());
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
        QVERIFY(m_portalBus.registerService(portalService));
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
