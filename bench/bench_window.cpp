// What the store's window costs, next to a minimal Qt Quick window of the same Qt in the same
// run: time from the process's start to its first frame (and, for the store, to the catalog's
// apps on screen), then CPU time, wake-ups (voluntary context switches) and resident memory
// while it sits idle, or the times between frames while its Explore page scrolls from top to
// bottom. bench/window-costs runs it from inside the demo's store bundle.
//
//   bench_window --minimal SECONDS      the baseline window
//   bench_window --store SECONDS        the store: idle on Explore, on Updates, then closed
//   bench_window --minimal-scroll       the baseline's scroll: a grid of 200 plain cells
//   bench_window --store-scroll         the store's Explore page scrolled the same way
#include "app/storeroot.h"
#include "app/theme/theme.h"
#include "app/window/storewindow.h"
#include "model/storemodel.h"
#include "net/networksession.h"

#include "bench/processstatus.h"
#include "harness/windowdriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

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
    return processStatus("VmRSS") / 1024.0;
}

// CPU time, wake-ups and the window's frames over the next seconds, events running as usual.
void idle(const char *what, int seconds, QQuickWindow *window)
{
    const auto frames = std::make_shared<std::atomic<int>>(0);
    QMetaObject::Connection connection;
    if (window)
        connection = QObject::connect(
            window, &QQuickWindow::frameSwapped, window, [frames] { ++*frames; }, Qt::DirectConnection);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const double cpuBefore = cpuMilliseconds();
    QTest::qWait(seconds * 1000);
    const double cpu = cpuMilliseconds() - cpuBefore;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    QObject::disconnect(connection);
    const double wakeups = double(after.ru_nvcsw - before.ru_nvcsw) / seconds;
    std::printf("idle %-10s %5d s: CPU %7.1f ms (%.2f %%), %7.1f wake-ups/s, %5d frames, resident %6.1f MiB\n", what,
                seconds, cpu, cpu / (seconds * 10.0), wakeups, frames->load(), residentMiB());
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

// Scrolls from top to bottom by a fixed step each frame, then reports the times between the
// frames swapped meanwhile. The flickable is the item or, for a scroll view, its content.
void scroll(QQuickWindow *window, QQuickItem *item, const char *what)
{
    QObject *flickable = item->property("contentY").isValid() ? item : item->property("contentItem").value<QObject *>();
    const double end = flickable->property("contentHeight").toDouble() - flickable->property("height").toDouble();
    std::mutex guard;
    std::vector<std::chrono::steady_clock::time_point> swapped;
    const QMetaObject::Connection connection = QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [&] {
            const std::lock_guard lock(guard);
            swapped.push_back(std::chrono::steady_clock::now());
        },
        Qt::DirectConnection);
    const auto frames = [&] {
        const std::lock_guard lock(guard);
        return swapped.size();
    };
    constexpr double step = 24;
    for (double y = step; y <= end; y += step) {
        const size_t before = frames();
        flickable->setProperty("contentY", y);
        QElapsedTimer waiting;
        waiting.start();
        while (frames() == before && !waiting.hasExpired(2000))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    QTest::qWait(200); // the render thread's last report
    QObject::disconnect(connection);
    std::vector<double> intervals;
    for (size_t i = 1; i < swapped.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(swapped[i] - swapped[i - 1]).count());
    if (intervals.empty()) {
        std::printf("scroll %-10s nothing to scroll\n", what);
        return;
    }
    std::sort(intervals.begin(), intervals.end());
    const auto at = [&](double share) { return intervals[size_t(share * double(intervals.size() - 1))]; };
    std::printf("scroll %-10s %4zu frames over %5.0f px: frame time median %5.1f ms, 95th %5.1f ms, worst %5.1f "
                "ms; resident %6.1f MiB\n",
                what, intervals.size(), end, at(0.5), at(0.95), intervals.back(), residentMiB());
}

int minimal(int seconds)
{
    QQuickView view;
    view.setColor(Qt::white);
    view.setSource(QUrl(QStringLiteral("data:text/plain,import QtQuick\nRectangle { width: 1180; height: 760 }")));
    view.show();
    firstFrame(&view, "minimal");
    if (seconds > 0)
        idle("minimal", seconds, &view);
    return 0;
}

int minimalScroll()
{
    QQuickView view;
    view.setColor(Qt::white);
    view.setSource(QUrl(QStringLiteral(
        "data:text/plain,import QtQuick\nFlickable { width: 1180; height: 760; contentHeight: grid.height\n"
        "Grid { id: grid; columns: 4; spacing: 16\n Repeater { model: 200\n Rectangle { width: 270; height: 150;"
        " radius: 12; color: 'gainsboro'\n Text { x: 16; y: 16; text: 'App ' + index } } } } }")));
    view.show();
    firstFrame(&view, "minimal");
    QTest::qWait(1000);
    scroll(&view, view.rootObject(), "minimal");
    return 0;
}

int store(int seconds, bool scrolls)
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
    QElapsedTimer waiting;
    waiting.start();
    while (!WindowDriver::findItem(window->contentItem(), QStringLiteral("card-lumen"))) {
        if (waiting.hasExpired(30'000)) {
            std::fprintf(stderr, "the catalog's apps never came on screen\n");
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    std::printf("apps on screen %8.1f ms after the first frame\n", sinceProcessStart() - framed);
    if (seconds <= 0 && !scrolls)
        return 0;
    while (!root.isSettled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QTest::qWait(3000); // images and prefetch come to rest
    if (scrolls) {
        std::printf("resident before scrolling %6.1f MiB\n", residentMiB());
        scroll(window, WindowDriver::findItem(window->contentItem(), QStringLiteral("explorePage")), "store");
        return 0;
    }
    idle("explore", seconds, window);
    root.window()->show(StoreSection::Updates);
    QTest::qWait(1000);
    idle("updates", seconds, window);
    const QPointer<QQuickWindow> closed(window);
    window->close();
    QTest::qWait(1000);
    idle("closed", seconds, closed); // null once the store has deleted the closed window
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
    if (arguments.value(1) == QLatin1String("--minimal-scroll"))
        return minimalScroll();
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    Theme::prepareApplication();
    trustExtraCertificateAuthorities();
    if (arguments.value(1) == QLatin1String("--store-scroll"))
        return store(0, true);
    return arguments.value(1) == QLatin1String("--store") ? store(seconds, false) : 2;
}
