#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

struct Locations;

// Image bytes on disk between runs: one file per image address, named by the SHA-256 of
// the address, evicted least recently used first once the folder outgrows its limit.
// Every failure is silent (a miss, a skipped write); safe to use from several threads at
// once, since every write is atomic and nothing is held in memory.
class ImageDiskCache
{
public:
    static constexpr qint64 standardLimit = 104857600; // 100 MiB

    ImageDiskCache(QString folder, qint64 limit);

    // "Tessel Store/Images" in the user's cache folder, 100 MiB.
    static ImageDiskCache standard();
    static ImageDiskCache standard(const Locations &locations);

    const QString &folder() const { return m_folder; }
    qint64 limit() const { return m_limit; }

    // The file for an address, whether or not it exists: 64 hex digits, a dot, the path's
    // extension in lower case (or "img").
    QString file(const QUrl &url) const;

    // The cached bytes; reading makes the file the most recently used.
    std::optional<QByteArray> data(const QUrl &url) const;

    // Writes the bytes atomically, replacing any earlier ones, then trims.
    void store(const QByteArray &data, const QUrl &url) const;

    // Deletes the oldest files until the total size is within the limit. Files whose
    // attributes cannot be read are neither counted nor deleted.
    void trim() const;

private:
    QString m_folder;
    qint64 m_limit;
};
