#pragma once

#include <QNetworkAccessManager>

// The image loader's own session: it never consults or fills an HTTP cache, since the disk
// cache keeps image bytes, and gives up a transfer that stays silent for 30 seconds.
class ImageSession : public QNetworkAccessManager
{
    Q_OBJECT

public:
    explicit ImageSession(QObject *parent = nullptr);

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request, QIODevice *outgoingData) override;
};
