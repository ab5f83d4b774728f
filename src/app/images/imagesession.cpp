#include "app/images/imagesession.h"

#include <QNetworkRequest>

namespace {

constexpr int transferTimeoutMilliseconds = 30'000;

} // namespace

ImageSession::ImageSession(QObject *parent) : QNetworkAccessManager(parent)
{
    setTransferTimeout(transferTimeoutMilliseconds);
}

QNetworkReply *ImageSession::createRequest(Operation operation, const QNetworkRequest &request, QIODevice *outgoingData)
{
    QNetworkRequest uncached(request);
    uncached.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    uncached.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    return QNetworkAccessManager::createRequest(operation, uncached, outgoingData);
}
