#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

// While it lives, SIGTERM and SIGINT do not end the process at once: they end every network
// transfer under the owner, those begun later too, so that the running operation fails
// through its own path (an install removes its work folder) and the command returns. A second
// signal of the same kind ends the process as usual, for a user who will not wait.
class StopSignals : public QObject
{
public:
    explicit StopSignals(QObject *owner);
    ~StopSignals() override;

    // The signal that asked to stop, 0 while none did.
    int received() const { return m_received; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stop();

    QObject *m_owner;
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_previousTerminate = {};
    struct sigaction m_previousInterrupt = {};
    int m_received = 0;
};
