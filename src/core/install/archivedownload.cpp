#include "install/archivedownload.h"

#include "net/boundedtransfer.h"
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

QString fileName(const QUrl &url)
{
    const QString name = url.path(QUrl::FullyDecoded).section(u'/', -1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'\0'))
        return QStringLiteral("archive");
    return name;
}

QCoro::Task<Expected<QString, InstallFailure>> download(QNetworkAccessManager *session, QUrl url, QString folder,
                                                        TransferLimits limits, ProgressCallback progress)
{
    using Kind = InstallFailure::Kind;
    progress(0.0);
    QTemporaryFile partial(folder + QStringLiteral("/.download-XXXXXX"));
    if (!partial.open())
        co_return InstallFailure::of(
            Kind::FileSystem, QStringLiteral("cannot create a file in %1: %2").arg(folder, partial.errorString()));

    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(session->get(QNetworkRequest(url)));
    QNetworkReply *raw = reply.get();
    // An error page is no part of an archive: its bytes are read and dropped, never written.
    auto carriesArchive = [raw] {
        const int status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status == 200 || status == 206;
    };
    // Each piece goes to the file as it arrives; QFile's own buffer is all that waits.
    auto write = [&partial, carriesArchive](const QByteArray &chunk) {
        return !carriesArchive() || partial.write(chunk) == chunk.size();
    };
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [progress](qint64 received, qint64 total) {
        if (total > 0)
            progress(std::min(double(received) / double(total), 0.99));
    });
    // The task is held before it is awaited: GCC 12 destroys the temporaries of a call made
    // inside the co_await expression twice.
    QCoro::Task<BoundedTransfer::Outcome> receiving = BoundedTransfer::receive(raw, limits, write);
    const BoundedTransfer::Outcome outcome = co_await receiving;
    const bool written = outcome != BoundedTransfer::Outcome::ChunkRefused && partial.flush();

    if (!written)
        co_return InstallFailure::of(
            Kind::FileSystem, QStringLiteral("cannot write %1: %2").arg(partial.fileName(), partial.errorString()));
    if (outcome != BoundedTransfer::Outcome::Finished)
        co_return InstallFailure::of(
            Kind::Download,
            QStringLiteral("%1 given up: %2").arg(url.toString(), BoundedTransfer::reason(outcome, limits)));
    if (HTTPFetch::transferFailed(raw))
        co_return InstallFailure::of(Kind::Download, raw->errorString());
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
