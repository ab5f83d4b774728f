#include "maker/appcastwriter.h"

#include "install/archiveextractor.h"
#include "maker/signingkey.h"
#include "platform/bundle.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

namespace AppcastWriter {

std::optional<Item> itemForArchive(const QString &archive, const QUrl &url, const SigningKey *key, QString *reason)
{
    QTemporaryDir scratch;
    const Expected<QStringList, InstallFailure> apps =
        ArchiveExtractor::extract(archive, scratch.filePath(QStringLiteral("extracted")));
    if (!apps) {
        *reason = QStringLiteral("%1 holds no app that can be read: %2").arg(archive, apps.error().detail);
        return std::nullopt;
    }
    // The store takes only an archive whose app is unambiguous; the feed describes that app.
    if (apps.value().size() > 1) {
        *reason = QStringLiteral("%1 holds %2 apps, not one").arg(archive, QString::number(apps.value().size()));
        return std::nullopt;
    }
    const Bundle bundle = Bundle::at(apps.value().first());
    Item item;
    item.build = bundle.string(QStringLiteral("CFBundleVersion"));
    item.shortVersion = bundle.string(QStringLiteral("CFBundleShortVersionString"));
    const QString minimum = bundle.string(QStringLiteral("LSMinimumSystemVersion"));
    if (!minimum.isEmpty())
        item.minimumSystemVersion = minimum;
    item.url = url;
    QFile file(archive);
    if (item.build.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("%1 has no build number").arg(archive);
        return std::nullopt;
    }
    item.length = file.size();
    if (key)
        item.edSignature = QString::fromLatin1(key->sign(file.readAll()).toBase64());
    return item;
}

QByteArray feed(const QString &title, const QList<Item> &items)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("rss"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeAttribute(QStringLiteral("xmlns:sparkle"),
                       QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle"));
    xml.writeStartElement(QStringLiteral("channel"));
    xml.writeTextElement(QStringLiteral("title"), title);
    for (const Item &item : items) {
        xml.writeStartElement(QStringLiteral("item"));
        // An empty short version is left out: the store then shows the build.
        const QString shown = item.shortVersion.isEmpty() ? item.build : item.shortVersion;
        xml.writeTextElement(QStringLiteral("title"), QStringLiteral("Version %1").arg(shown));
        xml.writeTextElement(QStringLiteral("sparkle:version"), item.build);
        if (!item.shortVersion.isEmpty())
            xml.writeTextElement(QStringLiteral("sparkle:shortVersionString"), item.shortVersion);
        if (item.minimumSystemVersion)
            xml.writeTextElement(QStringLiteral("sparkle:minimumSystemVersion"), *item.minimumSystemVersion);
        xml.writeEmptyElement(QStringLiteral("enclosure"));
        xml.writeAttribute(QStringLiteral("url"), item.url.toString(QUrl::FullyEncoded));
        xml.writeAttribute(QStringLiteral("length"), QString::number(item.length));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("application/octet-stream"));
        if (item.edSignature)
            xml.writeAttribute(QStringLiteral("sparkle:edSignature"), *item.edSignature);
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}

} // namespace AppcastWriter
