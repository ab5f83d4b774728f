#pragma once

#include <QString>
#include <optional>

class QNetworkReply;

// Whether an HTTP answer carried the whole resource: status 200, or a 206 whose
// Content-Range covers every byte and whose body has them all.
namespace HTTPComplete {

bool isComplete(int status, const std::optional<QString> &contentRange, qint64 bodyLength);

// The same for a finished reply; a reply without an HTTP status is never complete.
bool isComplete(const QNetworkReply *response, qint64 bodyLength);

} // namespace HTTPComplete
