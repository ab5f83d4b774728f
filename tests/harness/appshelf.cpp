#include "harness/appshelf.h"

#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"

#include <QDir>
#include <QProcess>
#include <qcorotask.h>

AppShelf::AppShelf(const CatalogFixtures::Signer &signer, TestServer &server, ReleaseFactory &releases)
    : m_signer(signer), m_server(server), m_releases(releases)
{}

Publication AppShelf::zipped(const QString &id, const QString &build) const
{
    const QByteArray archive = ReleaseFactory::zip(m_releases.app(id, QStringLiteral("com.orvel.") + id, build));
    return {id, build, id + QStringLiteral("-") + build + QStringLiteral(".zip"), archive,
            m_releases.signature(archive)};
}

QByteArray AppShelf::feed(const QString &build, const QString &archiveURL, const std::optional<QString> &signature)
{
    QByteArray feed = "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><item>"
                      "<sparkle:version>" +
                      build.toUtf8() + "</sparkle:version><enclosure url=\"" + archiveURL.toUtf8() + "\"";
    if (signature)
        feed += " sparkle:edSignature=\"" + signature->toUtf8() + "\"";
    return feed + "/></item></channel></rss>";
}

void AppShelf::publish(const QList<Publication> &publications) const
{
    QList<QJsonObject> apps;
    for (const Publication &publication : publications) {
        QJsonObject record = CatalogFixtures::app(publication.productID);
        record.insert(QStringLiteral("appcastURL"),
                      m_server.url(QStringLiteral("/feeds/%1.xml").arg(publication.productID)).toString());
        record.insert(QStringLiteral("sparklePublicKey"),
                      publication.publishesKey ? m_releases.archivePublicKey() : QString());
        apps.append(record);
        const QString url = m_server.url(QStringLiteral("/archives/") + publication.file).toString();
        m_server.respond(QStringLiteral("/feeds/%1.xml").arg(publication.productID).toUtf8(),
                         HttpResponse::ok(feed(publication.build, url, publication.signature), "application/rss+xml"));
        m_server.respond((QStringLiteral("/archives/") + publication.file).toUtf8(),
                         publication.answer.value_or(HttpResponse::ok(publication.archive, "application/zip")));
    }
    m_server.respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
}

QString AppShelf::preinstall(const QString &id, const QString &build, const QString &folder,
                             const std::optional<QByteArray> &executable) const
{
    const QString made = m_releases.app(id, QStringLiteral("com.orvel.") + id, build, executable);
    const QString destination = folder + u'/' + id + QStringLiteral(".app");
    QDir().mkpath(folder);
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), made, destination});
    return destination;
}

std::unique_ptr<StoreModel> AppShelf::loadedModel(ModelFixture &fixture)
{
    auto model = fixture.makeModel();
    QCoro::waitFor(model->load());
    if (model->loadState() != StoreModel::LoadState::Ready)
        qFatal("the test catalog did not load");
    return model;
}

CatalogApp AppShelf::appNamed(const StoreModel &model, const QString &id)
{
    for (const CatalogApp &app : model.apps()) {
        if (app.productID == id)
            return app;
    }
    qFatal("no app %s", qPrintable(id));
}
