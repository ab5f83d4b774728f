#include "platform/folderwatcher.h"

#include <QFile>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <optional>

namespace {

// Entries added, removed or renamed inside the folder; the folder itself deleted or renamed.
constexpr uint32_t watchedEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

FolderWatcher::FolderWatcher(const QStringList &folders, std::chrono::milliseconds delay,
                             std::function<void()> onChange)
    : m_delay(delay), m_onChange(std::move(onChange))
{
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_inotify < 0 || m_wake < 0)
        return;
    for (const QString &folder : folders) {
        if (inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), watchedEvents) >= 0)
            ++m_watchCount;
    }
    m_thread = std::thread([this] { run(); });
}

FolderWatcher::~FolderWatcher()
{
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_wake, &one, sizeof one);
        m_thread.join();
    }
    if (m_inotify >= 0)
        close(m_inotify);
    if (m_wake >= 0)
        close(m_wake);
}

void FolderWatcher::run()
{
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> due;
    for (;;) {
        int timeout = -1;
        if (due) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
            timeout = int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        pollfd descriptors[2] = {{m_inotify, POLLIN, 0}, {m_wake, POLLIN, 0}};
        const int ready = poll(descriptors, 2, timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (descriptors[1].revents & POLLIN)
            break;
        if (descriptors[0].revents & POLLIN) {
            // Any event restarts the quiet period; what the events were does not matter.
            alignas(inotify_event) char buffer[16 * 1024];
            while (read(m_inotify, buffer, sizeof buffer) > 0) {
            }
            due = Clock::now() + m_delay;
            m_changePending = true;
        } else if (due && Clock::now() >= *due) {
            due.reset();
            m_changePending = false;
            m_onChange();
        }
    }
    // A burst already noticed still gets its callback, once, before watching ends.
    if (due)
        m_onChange();
}
