#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

// The desktop's side of the tray on a test's session bus: the watcher that tray items register
// with. It answers from a thread of its own, because an item asks it, and waits for the answer,
// from the thread the test runs on. Qt looks for it once, so it starts before the first item.
class StandInWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    // Exports a watcher on the session bus from a thread it owns; false when there is no bus.
    static bool start();
    static void stop();
    // The services of the items registered so far, in order.
    static QStringList registered();

    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const;

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &service);
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString &service);

private:
    void exportOnBus();

    mutable QMutex m_mutex;
    QStringList m_items;
};
