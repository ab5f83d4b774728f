#include "harness/storepublication.h"

#include "harness/releasefactory.h"
#include "harness/testserver.h"

#include <QDir>
#include <QProcess>

StorePublication::StorePublication(ReleaseFactory *releases, TestServer *server, QString folder)
    : m_releases(releases), m_server(server), m_folder(std::move(folder))
{}

QVariantMap StorePublication::info(const QString &shortVersion, const QString &build, const QString &identifier) const
{
    const TrustAnchors trusted = m_releases->anchors();
    QVariantList anchors;
    for (const QByteArray &certificate : trusted.certificates())
        anchors.append(QString::fromLatin1(certificate.toBase64()));
    return {
        {QStringLiteral("CFBundleIdentifier"), identifier},
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("app")},
        {QStringLiteral("CFBundleName"), QStringLiteral("Tessel Store")},
        {QStringLiteral("CFBundleShortVersionString"), shortVersion},
        {QStringLiteral("CFBundleVersion"), build},
        {QStringLiteral("SUFeedURL"), feed().toString()},
        {QStringLiteral("SUPublicEDKey"), m_releases->archivePublicKey()},
        {QStringLiteral("TesselCodeSigningAnchors"), anchors},
    };
}

QString StorePublication::install(const QString &shortVersion, const QString &build, const QVariantMap &extraInfo)
{
    QVariantMap entries = info(shortVersion, build);
    entries.insert(extraInfo);
    const QString made = m_releases->app(QStringLiteral("Tessel Store"), entries);
    m_running = m_folder + QStringLiteral("/Tessel Store.app");
    QDir(m_running).removeRecursively();
    QDir().mkpath(m_folder);
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), made, m_running});
    return m_running;
}

QByteArray StorePublication::release(const QString &shortVersion, const QString &build, const QString &identifier,
                                     const std::optional<QString> &team)
{
    return ReleaseFactory::zip(m_releases->app(QStringLiteral("Tessel Store"), info(shortVersion, build, identifier),
                                               team.value_or(QString::fromLatin1(ReleaseFactory::team))));
}

void StorePublication::publish(const QString &shortVersion, const QString &build, const QByteArray &archive,
                               const std::optional<QString> &signature, const std::optional<QString> &notes)
{
    const QString path = QStringLiteral("/store/TesselStore-%1.zip").arg(build);
    QByteArray feed = "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><item>"
                      "<sparkle:version>" +
                      build.toUtf8() + "</sparkle:version><sparkle:shortVersionString>" + shortVersion.toUtf8() +
                      "</sparkle:shortVersionString>";
    if (notes)
        feed += "<description><![CDATA[" + notes->toUtf8() + "]]></description>";
    feed += "<enclosure url=\"" + m_server->url(path).toString().toUtf8() + "\" length=\"" +
            QByteArray::number(archive.size()) + "\" sparkle:edSignature=\"" +
            signature.value_or(m_releases->signature(archive)).toUtf8() + "\"/></item></channel></rss>";
    m_server->respond("/store/appcast.xml", HttpResponse::ok(feed, "application/rss+xml"));
    m_server->respond(path.toUtf8(), HttpResponse::ok(archive, "application/zip"));
}

QUrl StorePublication::feed() const
{
    return m_server->url(QStringLiteral("/store/appcast.xml"));
}
