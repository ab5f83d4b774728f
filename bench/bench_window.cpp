// What the store's window costs, next to a minimal Qt Quick window of the same Qt in the same
// run: time from the process's start to its first frame (and, for the store, to the catalog's
// apps on screen), then CPU time, wake-ups (voluntary context switches) and resident memory
// while it sits idle. bench/window-costs runs it from inside the demo's store bundle.
//
//   bench_window --minimal SECONDS      the baseline window
//   bench_window --store SECONDS        the store: idle on Explore, on Updates, then closed
#include "app/storeroot.h"
#include "app/theme/theme.h"
#include "app/window/storewindow.h"
#include "model/storemodel.h"
#include "net/networksession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Milliseconds since this process was started, from the kernel's own record of its start.
double sinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    return (uptime.readAll().split(' ').value(0).toDouble() - started) * 1000;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

// CPU time and wake-ups of the whole process over the next seconds, events running as usual.
void idle(const char *what, int seconds)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QTest::qWait(seconds * 1000);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const auto ms = [](const timeval &time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
    const double cpu = ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime);
    const double wakeups = double(after.ru_nvcsw - before.ru_nvcsw) / seconds;
    std::printf("idle %-10s %5d s: CPU %7.1f ms (%.2f %%), %7.1f wake-ups/s, resident %6.1f MiB\n", what, seconds, cpu,
                cpu / (seconds * 10.0), wakeups, residentMiB());
}

// Waits for the window's first frame and says when it came. The frame is swapped on the render
// thread, which may still report one after this returns: the flag outlives the wait.
void firstFrame(QQuickWindow *window, const char *what)
{
    const auto shown = std::make_shared<std::atomic<bool>>(false);
    const QMetaObject::Connection connection = QObject::connect(
        window, &QQuickWindow::frameSwapped, window, [shown] { *shown = true; }, Qt::DirectConnection);
    while (!*shown)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QObject::disconnect(connection);
    std::printf("first frame %-10s %8.1f ms after the process started\n", what, sinceProcessStart());
}

QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

int minimal(int seconds)
{
    QQuickView view;
    view.setColor(Qt::white);
    view.setSource(QUrl(QStringLiteral("data:text/plain,import QtQuick\nRectangle { width: 1180; height: 760 }")));
    view.show();
    firstFrame(&view, "minimal");
    if (seconds > 0)
        idle("minimal", seconds);
    return 0;
}

int store(int seconds)
{
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(":/qt/qml"));
    StoreRoot root(&engine);
    root.openWindow();
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    firstFrame(window, "store");
    const double framed = sinceProcessStart();
    while (!findItem(window->contentItem(), QStringLiteral("card-lumen")))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    std::printf("apps on screen %8.1f ms after the first frame\n", sinceProcessStart() - framed);
    if (seconds <= 0)
        return 0;
    while (!root.isSettled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QTest::qWait(3000); // images and prefetch come to rest
    idle("explore", seconds);
    root.window()->show(StoreSection::Updates);
    QTest::qWait(1000);
    idle("updates", seconds);
    window->close();
    QTest::qWait(1000);
    idle("closed", seconds);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QStringList arguments = QCoreApplication::arguments();
    const int seconds = arguments.value(2).toInt();
    if (arguments.value(1) == QLatin1String("--minimal"))
        return minimal(seconds);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    Theme::prepareApplication();
    trustExtraCertificateAuthorities();
    return arguments.value(1) == QLatin1String("--store") ? store(seconds) : 2;
}
