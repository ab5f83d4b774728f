#include "install/archivedownload.h"

#include "net/httpcomplete.h"
#include "net/httpfetch.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryFile>
#include <qcoronetworkreply.h>

namespace ArchiveDownload {
namespace {

struct DeleteLater
{
    void operator()(QObject *object) const { object->deleteLater(); }
};

} // namespace

QString fileName(const QUrl &url)
{
    const QString name = url.path(QUrl::FullyDecoded).section(u'/', -1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'\0'))
        return QStringLiteral("archive");
    return name;
}

QCoro::Task<Expected<QString, InstallFailure>> download(QNetworkAccessManager *session, QUrl url, QString folder,
                                                        ProgressCallback progress)
{
    progress(0.0);
    QTemporaryFile partial(folder + QStringLiteral("/.download-XXXXXX"));
    if (!partial.open())
        co_return InstallFailure(SystemError{partial.errorString()});

    std::unique_ptr<QNetworkReply, DeleteLater> reply(session->get(QNetworkRequest(url)));
    QNetworkReply *raw = reply.get();
    bool written = true;
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, &partial, &written] {
        const QByteArray chunk = raw->readAll();
        written = written && partial.write(chunk) == chunk.size();
    });
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [progress](qint64 received, qint64 total) {
        if (total > 0)
            progress(std::min(double(received) / double(total), 0.99));
    });
    co_await raw;
    const QByteArray rest = raw->readAll();
    written = written && partial.write(rest) == rest.size() && partial.flush();

    if (HTTPFetch::transferFailed(raw))
        co_return InstallFailure(SystemError{raw->errorString()});
    if (!written)
        co_return InstallFailure(SystemError{partial.errorString()});
    if (!HTTPComplete::isComplete(raw, partial.size()))
        co_return InstallFailure(InstallError::of(InstallError::Kind::Download));

    const QString destination = folder + u'/' + fileName(url);
    QFile::remove(destination);
    if (!partial.rename(destination))
        co_return InstallFailure(SystemError{partial.errorString()});
    partial.setAutoRemove(false);
    progress(1.0);
    co_return destination;
}

} // namespace ArchiveDownload
