#include "maker/staticsite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

QByteArray contentType(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xml"))
        return "application/rss+xml";
    if (suffix == QLatin1String("png"))
        return "image/png";
    if (suffix == QLatin1String("zip"))
        return "application/zip";
    if (suffix == QLatin1String("dmg"))
        return "application/x-apple-diskimage";
    if (suffix == QLatin1String("json") || path.endsWith(QLatin1String("/v1/catalog")))
        return "application/json";
    return "application/octet-stream";
}

} // namespace

StaticSite::StaticSite(QString root) : m_root(QDir(root).canonicalPath()) {}

HttpResponse StaticSite::operator()(const HttpRequest &request) const
{
    if (request.method != "GET")
        return HttpResponse::notFound();
    const QByteArray target = request.path.split('?').first();
    const QString decoded = QUrl::fromPercentEncoding(target);
    // Resolved and compared after cleaning, so that ".." and links never leave the folder.
    const QString path = QFileInfo(m_root + u'/' + decoded).canonicalFilePath();
    if (path.isEmpty() || !path.startsWith(m_root + u'/') || !QFileInfo(path).isFile())
        return HttpResponse::notFound();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return HttpResponse::notFound();
    return HttpResponse::ok(file.readAll(), contentType(path));
}
