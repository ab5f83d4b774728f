#include "net/httpfetch.h"

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

QCoro::Task<std::optional<HTTPAnswer>> get(QNetworkAccessManager *session, QUrl url)
{
    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(session->get(QNetworkRequest(url)));
    QNetworkReply *watched = reply.get();
    QObject::connect(watched, &QNetworkReply::downloadProgress, watched, [watched](qint64 received) {
        if (received > maximumBodySize)
            watched->abort();
    });
    co_await reply.get();
    if (transferFailed(reply.get())) {
        qCWarning(lcNet).noquote() << "GET" << url.toDisplayString() << "failed:" << reply->errorString();
        co_return std::nullopt;
    }
    HTTPAnswer answer;
    answer.body = reply->readAll();
    answer.complete = HTTPComplete::isComplete(reply.get(), answer.body.size());
    if (!answer.complete)
        qCWarning(lcNet).noquote() << "GET" << url.toDisplayString() << "gave no whole resource: status"
                                   << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    co_return answer;
}

} // namespace HTTPFetch
