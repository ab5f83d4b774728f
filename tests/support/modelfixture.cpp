#include "modelfixture.h"

#include "catalog/catalogloader.h"
#include "catalogfixtures.h"
#include "platform/propertylist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

ModelFixture::ModelFixture(const CatalogFixtures::Signer &signer, const QUrl &serviceURL)
    : m_session(std::make_unique<QNetworkAccessManager>()), environment(makeEnvironment(signer, serviceURL))
{
}

StoreEnvironment ModelFixture::makeEnvironment(const CatalogFixtures::Signer &signer, const QUrl &serviceURL)
{
    m_session->setTransferTimeout(2000);
    const ServiceConfiguration configuration = signer.configuration(serviceURL);
    const QString bundle = m_folder.filePath(QStringLiteral("Tessel Store.app"));
    writeFile(bundle + QStringLiteral("/Contents/Info.plist"),
              PropertyList::serialize(QVariantMap{{QStringLiteral("TesselServiceURL"), configuration.serverURL.toString()},
                                                  {QStringLiteral("TesselServiceIssuer"), configuration.issuer},
                                                  {QStringLiteral("TesselServiceKeyID"), configuration.keyID},
                                                  {QStringLiteral("TesselServicePublicKey"), configuration.publicKey}},
                                      PropertyList::Format::XML));
    return StoreEnvironment{
        .session = m_session.get(),
        .mainBundle = Bundle::at(bundle),
        .locations = Locations::under(m_folder.path()),
        .systemVersion = {14, 5, 2},
        .preferredLanguages = {QStringLiteral("pt-BR"), QStringLiteral("en")},
        .now = [] { return QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC); },
    };
}

QString ModelFixture::cacheFile() const
{
    return CatalogLoader::defaultCacheURL(environment.locations);
}

void ModelFixture::writeCache(const QByteArray &envelope) const
{
    writeFile(cacheFile(), envelope);
}
