#pragma once

#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// Reports, once per burst, that entries were added to, removed from or renamed in a set of
// folders, or that a folder itself was deleted or renamed. Watches each folder's own node:
// a folder missing at construction is never watched, and one renamed away stays watched
// where it went. Events, the trailing-edge debounce and the callback all run on the
// watcher's own thread, never on the caller's.
class FolderWatcher
{
public:
    FolderWatcher(const QStringList &folders, std::chrono::milliseconds delay, std::function<void()> onChange);
    // Stops watching and closes every descriptor. A callback already scheduled runs once
    // before this returns.
    ~FolderWatcher();

    FolderWatcher(const FolderWatcher &) = delete;
    FolderWatcher &operator=(const FolderWatcher &) = delete;

    // How many folders could be opened for watching.
    int watchedFolderCount() const { return m_watchCount; }
    // Whether a change has been noticed and its callback waits for the quiet period to end.
    bool changePending() const { return m_changePending; }

private:
    void run();

    std::chrono::milliseconds m_delay;
    std::function<void()> m_onChange;
    int m_inotify = -1;
    int m_wake = -1; // an eventfd that ends the thread
    int m_watchCount = 0;
    std::atomic<bool> m_changePending{false};
    std::thread m_thread;
};
