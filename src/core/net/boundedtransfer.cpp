#include "net/boundedtransfer.h"

#include <QNetworkReply>
#include <QTimer>
#include <qcoronetworkreply.h>

namespace BoundedTransfer {
namespace {

// How much of a body the reply holds before its connection stops reading from the socket.
// Without a bound, Qt's network thread queues everything it receives for the main thread,
// and while more keeps coming it hands nothing on: memory grows, the file stays empty.
constexpr qint64 readBufferBytes = 256 * 1024;

} // namespace

QCoro::Task<Outcome> receive(QNetworkReply *reply, TransferLimits limits, ChunkReceiver receiver)
{
    reply->setReadBufferSize(readBufferBytes);
    Outcome outcome = Outcome::Finished;
    qint64 received = 0;
    qint64 receivedAtWindowStart = 0;
    // Aborting finishes the reply at once, which would resume this frame inside the very
    // handler that is still running; the abort waits for the event loop instead.
    auto giveUp = [reply, &outcome](Outcome why) {
        if (outcome != Outcome::Finished)
            return;
        outcome = why;
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    };
    auto drain = [&] {
        while (outcome == Outcome::Finished && reply->bytesAvailable() > 0) {
            const QByteArray chunk = reply->read(reply->bytesAvailable());
            received += chunk.size();
            if (received > limits.maximumBytes)
                giveUp(Outcome::TooLarge);
            else if (!receiver(chunk))
                giveUp(Outcome::ChunkRefused);
        }
    };

    // Every connection and timer ends with this frame, so nothing calls into it afterwards.
    QObject frame;
    QObject::connect(reply, &QNetworkReply::readyRead, &frame, drain);
    QTimer deadline;
    if (limits.deadline) {
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &frame, [&giveUp] { giveUp(Outcome::DeadlinePassed); });
        deadline.start(*limits.deadline);
    }
    QTimer rateWindow;
    if (limits.minimumRate) {
        QObject::connect(&rateWindow, &QTimer::timeout, &frame, [&] {
            drain();
            if (received - receivedAtWindowStart < limits.minimumRate->bytes)
                giveUp(Outcome::TooSlow);
            receivedAtWindowStart = received;
        });
        rateWindow.start(limits.minimumRate->window);
    }

    co_await reply;
    drain();
    co_return outcome;
}

QString reason(Outcome outcome, const TransferLimits &limits)
{
    switch (outcome) {
    case Outcome::Finished:
        return QString();
    case Outcome::TooLarge:
        return QStringLiteral("the body is larger than %1 bytes").arg(limits.maximumBytes);
    case Outcome::DeadlinePassed:
        return QStringLiteral("the transfer did not end within %1 ms")
            .arg(limits.deadline.value_or(std::chrono::milliseconds{0}).count());
    case Outcome::TooSlow: {
        const TransferLimits::MinimumRate rate = limits.minimumRate.value_or(TransferLimits::MinimumRate{});
        return QStringLiteral("fewer than %1 bytes arrived in %2 ms").arg(rate.bytes).arg(rate.window.count());
    }
    case Outcome::ChunkRefused:
        return QStringLiteral("the body could not be kept");
    }
    return QString();
}

} // namespace BoundedTransfer
