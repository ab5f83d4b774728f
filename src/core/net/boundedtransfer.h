#pragma once

#include "net/transferlimits.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <qcorotask.h>

class QNetworkReply;

// Receives a reply's body piece by piece as it arrives, within its limits: memory holds at
// most a read buffer's worth of it, whatever the server sends.
namespace BoundedTransfer {

enum class Outcome {
    Finished,       // the reply finished by itself, every byte handed on
    TooLarge,       // more body than limits.maximumBytes
    DeadlinePassed, // not finished by limits.deadline
    TooSlow,        // under limits.minimumRate
    ChunkRefused,   // the receiver could not take a piece (a write failed)
};

// Takes a piece of the body; false ends the transfer.
using ChunkReceiver = std::function<bool(const QByteArray &)>;

// Call at once after the request is made, before the event loop runs: the read buffer must
// be bounded before the first byte arrives. Aborts the reply when a limit is crossed and
// returns once it has finished; the reply stays the caller's.
QCoro::Task<Outcome> receive(QNetworkReply *reply, TransferLimits limits, ChunkReceiver receiver);

// Why the transfer was given up, for logs and failure details ("" for Finished).
QString reason(Outcome outcome, const TransferLimits &limits);

} // namespace BoundedTransfer
