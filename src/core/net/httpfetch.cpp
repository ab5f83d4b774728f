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
    if (outcome != BoundedTransfer::Outcome::Finished) {
        qCWarning(lcNet).noquote() << "GET" << url.toDisplayString()
                                   << "given up:" << BoundedTransfer::reason(outcome, limits);
        co_return std::nullopt;
    }
    if (transferFailed(reply.get())) {
        qCWarning(lcNet).noquote() << "GET" << url.toDisplayString() << "failed:" << reply->errorString();
        co_return std::nullopt;
    }
    answer.complete = HTTPComplete::isComplete(reply.get(), answer.body.size());
    if (!answer.complete)
        qCWarning(lcNet).noquote() << "GET" << url.toDisplayString() << "gave no whole resource: status"
                                   << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    co_return answer;
}

} // namespace HTTPFetch
