#include "net/httpfetch.h"

#include "net/boundedtransfer.h"
#include "net/httpcomplete.h"
#include "net/netlog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScopedPointer>
#include <qcoronetworkreply.h>

namespace HTTPFetch {
namespace {

// Qt reports an HTTP error status as a reply error too; only these codes mean the
// status itself, every other error means the transfer failed.
bool onlyReflectsStatus(QNetworkReply::NetworkError error)
{
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

} // namespace

bool transferFailed(const QNetworkReply *reply)
{
    return !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() || !onlyReflectsStatus(reply->error());
}

TransferLimits documentLimits()
{
    return {.maximumBytes = maximumBodySize, .deadline = documentDeadline, .minimumRate = std::nullopt};
}

QCoro::Task<std::optional<HTTPAnswer>> get(QNetworkAccessManager *session, QUrl url, TransferLimits limits)
{
    QCoro::Task<Expected<HTTPAnswer, QString>> fetching = fetch(session, std::move(url), limits);
    Expected<HTTPAnswer, QString> answer = co_await fetching;
    if (!answer)
        co_return std::nullopt;
    co_return std::move(answer).value();
}

QCoro::Task<Expected<HTTPAnswer, QString>> fetch(QNetworkAccessManager *session, QUrl url, TransferLimits limits)
{
    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(session->get(QNetworkRequest(url)));
    HTTPAnswer answer;
    // The task is held before it is awaited: GCC 12 destroys the temporaries of a call made
    // inside the co_await expression twice.
    QCoro::Task<BoundedTransfer::Outcome> receiving =
        BoundedTransfer::receive(reply.get(), limits, [&answer](const QByteArray &chunk) {
            answer.body += chunk;
            return true;
        });
    const BoundedTransfer::Outcome outcome = co_await receiving;
    const QString address = url.toString(QUrl::FullyEncoded);
    if (outcome != BoundedTransfer::Outcome::Finished) {
        const QString reason = BoundedTransfer::reason(outcome, limits);
        qCWarning(lcNet).noquote() << "GET" << address << "given up:" << reason;
        co_return QStringLiteral("%1 was given up: %2").arg(address, reason);
    }
    if (transferFailed(reply.get())) {
        qCWarning(lcNet).noquote() << "GET" << address << "failed:" << reply->errorString();
        co_return QStringLiteral("no answer from %1: %2").arg(address, reply->errorString());
    }
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.complete = HTTPComplete::isComplete(reply.get(), answer.body.size());
    if (!answer.complete)
        qCWarning(lcNet).noquote() << "GET" << address << "gave no whole resource: status" << answer.status;
    co_return answer;
}

QString incompleteAnswer(const QUrl &url, const HTTPAnswer &answer)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    if (answer.status < 200 || answer.status > 299)
        return QStringLiteral("%1 answered %2").arg(address).arg(answer.status);
    return QStringLiteral("%1 answered %2 with less than the whole document").arg(address).arg(answer.status);
}

} // namespace HTTPFetch
