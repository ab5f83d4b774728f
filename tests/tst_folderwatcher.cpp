#include "platform/folderwatcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// Counts callbacks, from whatever thread they come.
struct CallbackLog
{
    std::atomic<int> count{0};
    std::atomic<bool> onMainThread{false};

    std::function<void()> callback()
    {
        return [this] {
            onMainThread = onMainThread || QThread::currentThread() == qApp->thread();
            ++count;
        };
    }
};

void touch(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

} // namespace

class FolderWatcherTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;

    QString folder(const QString &name) const
    {
        const QString path = m_root.filePath(name);
        QDir().mkpath(path);
        return path;
    }

private Q_SLOTS:
    void burstGivesOneCallbackAfterTheQuietPeriod()
    {
        const QString watched = folder(QStringLiteral("burst"));
        CallbackLog log;
        FolderWatcher watcher({watched}, 300ms, log.callback());
        QElapsedTimer sinceLast;
        for (int i = 0; i < 10; ++i) {
            touch(watched + QStringLiteral("/file%1").arg(i));
            sinceLast.start();
            QThread::msleep(10);
        }
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 1, 3000);
        QVERIFY2(sinceLast.elapsed() >= 290, "the callback came before the quiet period ended");
        QThread::msleep(500);
        QCOMPARE(log.count.load(), 1);
        QVERIFY(!log.onMainThread);
    }

    void separateChangesGiveSeparateCallbacks()
    {
        const QString watched = folder(QStringLiteral("separate"));
        CallbackLog log;
        FolderWatcher watcher({watched}, 100ms, log.callback());
        touch(watched + QStringLiteral("/a"));
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 1, 3000);
        QVERIFY(QFile::remove(watched + QStringLiteral("/a")));
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 2, 3000);
        QDir(watched).mkdir(QStringLiteral("sub"));
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 3, 3000);
    }

    void firstFolderStaysWatchedBesideASecond()
    {
        const QString first = folder(QStringLiteral("first"));
        CallbackLog log;
        FolderWatcher watcher({first, folder(QStringLiteral("other"))}, 50ms, log.callback());
        QCOMPARE(watcher.watchedFolderCount(), 2);
        touch(first + QStringLiteral("/A.app"));
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 1, 3000);
    }

    void missingFolderIsNeverWatched()
    {
        const QString present = folder(QStringLiteral("present"));
        const QString missing = m_root.filePath(QStringLiteral("missing"));
        CallbackLog log;
        FolderWatcher watcher({present, missing}, 50ms, log.callback());
        QCOMPARE(watcher.watchedFolderCount(), 1);
        QDir().mkpath(missing);
        touch(missing + QStringLiteral("/Late.app"));
        QThread::msleep(300);
        QCOMPARE(log.count.load(), 0);
    }

    void renamedFolderIsFollowedNotItsOldPath()
    {
        const QString watched = folder(QStringLiteral("renamed"));
        CallbackLog log;
        FolderWatcher watcher({watched}, 50ms, log.callback());
        QVERIFY(QDir().rename(watched, m_root.filePath(QStringLiteral("renamed-away"))));
        QTRY_COMPARE_WITH_TIMEOUT(log.count.load(), 1, 3000);
        QDir().mkpath(watched);
        touch(watched + QStringLiteral("/New.app"));
        QThread::msleep(300);
        QCOMPARE(log.count.load(), 1);
    }

    void destructionClosesDescriptorsAndDeliversThePendingCallback()
    {
        const QString watched = folder(QStringLiteral("destroyed"));
        const int before = openDescriptors();
        CallbackLog log;
        {
            FolderWatcher watcher({watched, folder(QStringLiteral("second"))}, 10s, log.callback());
            QVERIFY(openDescriptors() > before);
            touch(watched + QStringLiteral("/x"));
            QTRY_VERIFY_WITH_TIMEOUT(watcher.changePending(), 3000);
        }
        QCOMPARE(log.count.load(), 1);
        QCOMPARE(openDescriptors(), before);
    }
};

QTEST_GUILESS_MAIN(FolderWatcherTest)
#include "tst_folderwatcher.moc"
