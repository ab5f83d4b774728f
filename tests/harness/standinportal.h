#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QHash>
#include <QObject>
#include <QVariant>

// A stand-in for the desktop portal's Settings interface, answering with what the test set.
// Without ReadOne it answers as Debian 12's portal does: Read only, the value wrapped twice.
// It lives on a connection of its own, as a portal is another process.
class StandInPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    static inline const QString appearance = QStringLiteral("org.freedesktop.appearance");
    static inline const QString windowManager = QStringLiteral("org.gnome.desktop.wm.preferences");
    static inline const QString colorScheme = QStringLiteral("color-scheme");
    static inline const QString doubleClick = QStringLiteral("action-double-click-titlebar");
    static inline const QString buttonLayout = QStringLiteral("button-layout");

    bool hasReadOne = true;

    StandInPortal();

    // False when the test does not run on a session bus.
    bool exportObject();
    // Takes the portal's name on the bus, so that readers find it; until then they find none.
    bool appear();
    // Gives the name up and forgets every value.
    void disappear();

    // Sets what the portal answers; an invalid value leaves the setting unset.
    void set(const QString &group, const QString &key, const QVariant &value);
    // Sets the value and announces the change, as the portal does when the desktop's changes.
    void change(const QString &group, const QString &key, const QVariant &value);

public Q_SLOTS:
    QDBusVariant ReadOne(const QString &group, const QString &key);
    QDBusVariant Read(const QString &group, const QString &key);

Q_SIGNALS:
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    QDBusConnection m_bus;
    QHash<QString, QVariant> m_values; // by "group key"

    QVariant value(const QString &group, const QString &key);
};
