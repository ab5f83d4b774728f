#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

class SigningKey;

// Writes update feeds in the appcast dialect the store reads.
namespace AppcastWriter {

struct Item
{
    QString shortVersion;
    QString build;
    QUrl url;
    qint64 length = 0;
    std::optional<QString> edSignature;
    std::optional<QString> minimumSystemVersion;
};

// The release an archive holds, read from the app inside it (CFBundleShortVersionString,
// CFBundleVersion, LSMinimumSystemVersion), signed with the key when one is given.
std::optional<Item> itemForArchive(const QString &archive, const QUrl &url, const SigningKey *key, QString *reason);

// The feed, newest first in the order given.
QByteArray feed(const QString &title, const QList<Item> &items);

} // namespace AppcastWriter
