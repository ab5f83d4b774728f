#include "harness/modelfixture.h"

#include "catalog/catalogloader.h"
#include "codesign/bundlesignatureverifier.h"
#include "harness/catalogfixtures.h"
#include "platform/desktopentryregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void writeTestFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

ModelFixture::ModelFixture(const CatalogFixtures::Signer &signer, const QUrl &serviceURL)
    : m_session(std::make_unique<QNetworkAccessManager>()), environment(makeEnvironment(signer, serviceURL))
{}

StoreEnvironment ModelFixture::makeEnvironment(const CatalogFixtures::Signer &signer, const QUrl &serviceURL)
{
    m_session->setTransferTimeout(2000);
    const Locations locations = Locations::under(m_folder.path());
    for (const QString &folder : locations.applicationsFolders())
        QDir().mkpath(folder);
    return StoreEnvironment{
        .session = m_session.get(),
        .configuration = signer.configuration(serviceURL),
        .locations = locations,
        .registry = std::make_shared<DesktopEntryRegistry>(locations),
        // As a store without anchors of its own checks: trusting the vendor's root only.
        .verifier = std::make_shared<BundleSignatureVerifier>(TrustAnchors({TrustAnchors::builtInRoot()})),
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
    writeTestFile(cacheFile(), envelope);
}
