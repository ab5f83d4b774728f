#include "ctl/stopsignals.h"

#include <QChildEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The self-pipe: a signal handler may only do async-signal-safe work, so it writes the
// signal's number here and the event loop does the rest.
int signalPipe[2] = {-1, -1};

void forwardSignal(int signal)
{
    const int savedErrno = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(QObject *owner) : m_owner(owner)
{
    Q_ASSERT(signalPipe[0] < 0); // one at a time: the pipe is the process's
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char number = 0;
        while (::read(signalPipe[0], &number, 1) == 1) {
            if (m_received == 0)
                m_received = number;
        }
        stop();
    });
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &m_previousTerminate);
    ::sigaction(SIGINT, &action, &m_previousInterrupt);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    ::sigaction(SIGTERM, &m_previousTerminate, nullptr);
    ::sigaction(SIGINT, &m_previousInterrupt, nullptr);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void StopSignals::stop()
{
    const QList<QNetworkAccessManager *> sessions = m_owner->findChildren<QNetworkAccessManager *>();
    for (QNetworkAccessManager *session : sessions) {
        session->installEventFilter(this);
        const QList<QNetworkReply *> replies = session->findChildren<QNetworkReply *>();
        for (QNetworkReply *reply : replies)
            reply->abort();
    }
}

bool StopSignals::eventFilter(QObject *watched, QEvent *event)
{
    // A session makes each reply its child; the reply is still being built when the event
    // comes, so it is ended from the event loop.
    if (event->type() == QEvent::ChildAdded) {
        const QPointer<QObject> child = static_cast<QChildEvent *>(event)->child();
        QMetaObject::invokeMethod(
            this,
            [child] {
                if (auto *reply = qobject_cast<QNetworkReply *>(child.data()))
                    reply->abort();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
