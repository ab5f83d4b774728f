#include "feeds/appcastparser.h"

#include "catalog/version.h"
#include "support/plaininteger.h"
#include "support/urlparsing.h"

#include <QXmlStreamAttributes>
#include <QXmlStreamReader>

namespace {

const QString itemName = QStringLiteral("item");
const QString enclosureName = QStringLiteral("enclosure");
const QString shortVersionName = QStringLiteral("sparkle:shortVersionString");
const QString versionName = QStringLiteral("sparkle:version");
const QString minimumSystemName = QStringLiteral("sparkle:minimumSystemVersion");
const QString deltaFromName = QStringLiteral("sparkle:deltaFrom");
const QString channelName = QStringLiteral("sparkle:channel");
const QString urlName = QStringLiteral("url");
const QString lengthName = QStringLiteral("length");
const QString edSignatureName = QStringLiteral("sparkle:edSignature");
const QString descriptionName = QStringLiteral("description");

// Attributes by the name as written, prefix included.
std::optional<QString> attribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.qualifiedName() == name)
            return attribute.value().toString();
    }
    return std::nullopt;
}

// The parsing state of one feed: the item being read and the releases found so far.
class FeedReader
{
public:
    void elementStarted(QStringView name, const QXmlStreamAttributes &attributes);
    void charactersFound(QStringView characters);
    void elementEnded(QStringView name);

    QList<AppcastRelease> releases;

private:
    std::optional<AppcastRelease> itemRelease() const;

    bool m_inItem = false;
    QString m_text;
    std::optional<QString> m_shortVersion;
    std::optional<QString> m_build;
    std::optional<QString> m_minimumSystem;
    std::optional<QString> m_notes;
    bool m_onChannel = false;
    std::optional<QXmlStreamAttributes> m_enclosure; // implicitly shared: remembering one copies nothing
};

void FeedReader::elementStarted(QStringView name, const QXmlStreamAttributes &attributes)
{
    m_text.clear();
    if (name == itemName) {
        m_inItem = true;
        m_shortVersion.reset();
        m_build.reset();
        m_minimumSystem.reset();
        m_notes.reset();
        m_onChannel = false;
        m_enclosure.reset();
    } else if (name == channelName && m_inItem) {
        // Items on a channel (a beta, a nightly) are for those who opted in; everyone else
        // gets only the default channel, whatever the channel is called.
        m_onChannel = true;
    } else if (name == enclosureName && m_inItem) {
        // Delta archives (feeds list them after the full one) are never installed, so they
        // must not displace the item's full archive.
        if (attribute(attributes, deltaFromName))
            return;
        m_enclosure = attributes;
    }
}

void FeedReader::charactersFound(QStringView characters)
{
    // Text outside an item is never read (element ends there do nothing), so it is not kept:
    // channel descriptions and release notes can be large.
    if (m_inItem)
        m_text.append(characters);
}

void FeedReader::elementEnded(QStringView name)
{
    if (!m_inItem)
        return;
    if (name == shortVersionName) {
        m_shortVersion = m_text.trimmed();
    } else if (name == versionName) {
        m_build = m_text.trimmed();
    } else if (name == minimumSystemName) {
        m_minimumSystem = m_text.trimmed();
    } else if (name == descriptionName) {
        const QString notes = m_text.trimmed();
        if (!notes.isEmpty())
            m_notes = notes;
    } else if (name == itemName) {
        m_inItem = false;
        if (std::optional<AppcastRelease> release = itemRelease())
            releases.append(std::move(*release));
    }
}

std::optional<AppcastRelease> FeedReader::itemRelease() const
{
    if (m_onChannel || !m_enclosure || m_enclosure->isEmpty())
        return std::nullopt;
    const QXmlStreamAttributes &enclosure = *m_enclosure;
    const QString urlText = attribute(enclosure, urlName).value_or(QString());
    const std::optional<QUrl> url = parseURL(urlText);
    if (!url || !hasHTTPSScheme(urlText))
        return std::nullopt;
    const QString build = m_build.value_or(attribute(enclosure, versionName).value_or(QString()));
    if (build.isEmpty())
        return std::nullopt;
    AppcastRelease release;
    release.build = build;
    release.shortVersion = m_shortVersion.value_or(attribute(enclosure, shortVersionName).value_or(build));
    release.url = *url;
    if (const std::optional<QString> length = attribute(enclosure, lengthName))
        release.length = parsePlainInteger(*length);
    release.edSignature = attribute(enclosure, edSignatureName);
    release.minimumSystemVersion = m_minimumSystem ? m_minimumSystem : attribute(enclosure, minimumSystemName);
    release.releaseNotes = m_notes;
    return release;
}

} // namespace

namespace AppcastParser {

std::optional<QList<AppcastRelease>> releases(const QByteArray &feed)
{
    FeedReader parser;
    QXmlStreamReader reader(feed);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            parser.elementStarted(reader.qualifiedName(), reader.attributes());
            break;
        case QXmlStreamReader::Characters:
            parser.charactersFound(reader.text());
            break;
        case QXmlStreamReader::EndElement:
            parser.elementEnded(reader.qualifiedName());
            break;
        case QXmlStreamReader::EntityReference:
            // An entity the reader could not expand (an external one): never fetched.
            return std::nullopt;
        default:
            break;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return std::move(parser.releases);
}

Expected<AppcastRelease, Failure> newest(const QByteArray &feed, const SystemVersion &systemVersion)
{
    const std::optional<QList<AppcastRelease>> all = releases(feed);
    if (!all)
        return Failure::Malformed;
    const QString system = systemVersion.full();
    std::optional<AppcastRelease> best;
    for (const AppcastRelease &release : *all) {
        if (release.minimumSystemVersion &&
            Version::compare(*release.minimumSystemVersion, system) == Version::Order::Descending)
            continue;
        if (!best || Version::compare(best->build, release.build) == Version::Order::Ascending)
            best = release;
    }
    if (!best)
        return Failure::NothingRunnable;
    return std::move(*best);
}

QString failureName(Failure failure)
{
    switch (failure) {
    case Failure::Malformed:
        break;
    case Failure::NothingRunnable:
        return QStringLiteral("nothing runnable");
    }
    return QStringLiteral("malformed");
}

} // namespace AppcastParser
