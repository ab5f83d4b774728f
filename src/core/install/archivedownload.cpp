#include "install/archivedownload.h"

#include "net/httpcomplete.h"
#include "net/httpfetch.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScopedPointer>
#include <QTemporaryFile>
#include <qcoronetworkreply.h>

namespace ArchiveDownload {
namespace {} // namespace

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
    using Kind = InstallFailure::Kind;
    progress(0.0);
    QTemporaryFile partial(folder + QStringLiteral("/.download-XXXXXX"));
    if (!partial.open())
        co_return InstallFailure::of(
            Kind::FileSystem, QStringLiteral("cannot create a file in %1: %2").arg(folder, partial.errorString()));

    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(session->get(QNetworkRequest(url)));
    QNetworkReply *raw = reply.get();
    bool written = true;
    // An error page is no part of an archive: its bytes are read and dropped, never written.
    auto carriesArchive = [raw] {
        const int status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status == 200 || status == 206;
    };
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, &partial, &written, carriesArchive] {
        const QByteArray chunk = raw->readAll();
        if (carriesArchive())
            written = written && partial.write(chunk) == chunk.size();
    });
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [progress](qint64 received, qint64 total) {
        if (total > 0)
            progress(std::min(double(received) / double(total), 0.99));
    });
    co_await raw;
    const QByteArray rest = raw->readAll();
    if (carriesArchive())
        written = written && partial.write(rest) == rest.size();
    written = written && partial.flush();

    if (HTTPFetch::transferFailed(raw))
        co_return InstallFailure::of(Kind::Download, raw->errorString());
    if (!written)
        co_return InstallFailure::of(
            Kind::FileSystem, QStringLiteral("cannot write %1: %2").arg(partial.fileName(), partial.errorString()));
    if (!HTTPComplete::isComplete(raw, partial.size())) {
        const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        co_return InstallFailure::of(Kind::Download,
                                     QStringLiteral("HTTP %1 from %2 is not the whole archive (%3 bytes)")
                                         .arg(status.isValid() ? status.toString() : QStringLiteral("-"),
                                              url.toString(), QString::number(partial.size())));
    }

    const QString destination = folder + u'/' + fileName(url);
    QFile::remove(destination);
    if (!partial.rename(destination))
        co_return InstallFailure::of(Kind::FileSystem,
                                     QStringLiteral("cannot rename to %1: %2").arg(destination, partial.errorString()));
    partial.setAutoRemove(false);
    progress(1.0);
    co_return destination;
}

} // namespace ArchiveDownload
