#include "net/imagediskcache.h"

#include "platform/locations.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {

// The extension becomes part of a file name, so only plain letters and digits are taken.
QString extension(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    const QString name = path.section(u'/', -1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1)
        return QStringLiteral("img");
    const QString suffix = name.sliced(dot + 1).toLower();
    const bool plain = suffix.size() <= 16 && std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
                           return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
                       });
    return plain ? suffix : QStringLiteral("img");
}

} // namespace

ImageDiskCache::ImageDiskCache(QString folder, qint64 limit) : m_folder(std::move(folder)), m_limit(limit) {}

ImageDiskCache ImageDiskCache::standard()
{
    return standard(Locations::standard());
}

ImageDiskCache ImageDiskCache::standard(const Locations &locations)
{
    return ImageDiskCache(locations.cacheHome + QStringLiteral("/Tessel Store/Images"), standardLimit);
}

QString ImageDiskCache::file(const QUrl &url) const
{
    const QByteArray hash = QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256).toHex();
    return m_folder + u'/' + QString::fromLatin1(hash) + u'.' + extension(url);
}

std::optional<QByteArray> ImageDiskCache::data(const QUrl &url) const
{
    QFile file(this->file(url));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return bytes;
}

void ImageDiskCache::store(const QByteArray &data, const QUrl &url) const
{
    QDir().mkpath(m_folder);
    QSaveFile file(this->file(url));
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size())
        file.commit();
    trim();
}

void ImageDiskCache::trim() const
{
    struct Entry
    {
        QString path;
        qint64 modified;
        qint64 size;
    };
    const QDir folder(m_folder);
    if (!folder.exists())
        return;
    QList<Entry> entries;
    qint64 total = 0;
    for (const QFileInfo &info :
         folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!info.exists()) // a link to nothing: its attributes cannot be read
            continue;
        const QDateTime modified = info.lastModified();
        const qint64 size = info.isFile() ? info.size() : 0;
        entries.append({info.filePath(),
                        modified.isValid() ? modified.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(), size});
        total += size;
    }
    if (total <= m_limit)
        return;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.modified < b.modified; });
    for (const Entry &entry : std::as_const(entries)) {
        if (total <= m_limit)
            break;
        QFile::remove(entry.path);
        total -= entry.size;
    }
}
