#pragma once

#include "catalog/catalog.h"
#include "catalog/serviceconfiguration.h"
#include "maker/signingkey.h"

#include <QJsonObject>
#include <QList>

// Catalog documents and envelopes signed with a key made for the test run.
namespace CatalogFixtures {

// An app record with every required key.
QJsonObject app(const QString &productID, const QString &minimumSystemVersion = QStringLiteral("1.0"));

// The product identifiers of apps, in their order.
QStringList productIDs(const QList<CatalogApp> &apps);

QByteArray catalogJSON(const QString &issuer, const QList<QJsonObject> &apps, int version = 1);

// The maker's side of a test service: a signing key and the configuration that trusts it.
struct Signer
{
    SigningKey key = SigningKey::generate();
    QString keyID = QStringLiteral("test-key-1");
    QString issuer = QStringLiteral("test-issuer");

    ServiceConfiguration configuration(const QUrl &serverURL = QUrl(QStringLiteral("https://127.0.0.1/"))) const;
    QByteArray envelope(const QByteArray &catalogJSON) const;
    // A signed catalog of these apps under this signer's issuer.
    QByteArray envelopeOf(const QList<QJsonObject> &apps) const;
};

} // namespace CatalogFixtures
