#include "harness/standinwatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

struct Running
{
    QThread thread;
    StandInWatcher *watcher = nullptr;
};

Running &running()
{
    static Running instance;
    return instance;
}

} // namespace

bool StandInWatcher::start()
{
    if (!QDBusConnection::sessionBus().isConnected())
        return false;
    Running &state = running();
    state.watcher = new StandInWatcher;
    state.watcher->moveToThread(&state.thread);
    QObject::connect(&state.thread, &QThread::finished, state.watcher, &QObject::deleteLater);
    state.thread.start();
    QMetaObject::invokeMethod(state.watcher, &StandInWatcher::exportOnBus, Qt::BlockingQueuedConnection);
    const QDeadlineTimer deadline(5000);
    while (!QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService) && !deadline.hasExpired())
        QThread::msleep(10);
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService);
}

void StandInWatcher::stop()
{
    running().thread.quit();
    running().thread.wait();
    running().watcher = nullptr; // deleted as its thread finished
}

QStringList StandInWatcher::registered()
{
    return running().watcher ? running().watcher->items() : QStringList();
}

QStringList StandInWatcher::items() const
{
    QMutexLocker lock(&m_mutex);
    return m_items;
}

void StandInWatcher::RegisterStatusNotifierItem(const QString &service)
{
    QMutexLocker lock(&m_mutex);
    m_items.append(service);
}

void StandInWatcher::RegisterStatusNotifierHost(const QString &) {}

void StandInWatcher::exportOnBus()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
    bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                       QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties);
    bus.registerService(watcherService);
}
