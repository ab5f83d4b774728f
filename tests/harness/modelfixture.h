#pragma once

#include "model/storemodel.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <memory>

namespace CatalogFixtures {
struct Signer;
}

// Writes a file, making its folders; a test that cannot write its own fixtures stops.
void writeTestFile(const QString &path, const QByteArray &bytes);

// A store model over a temporary machine (home, Applications folders, desktop entries),
// configured for a test service.
class ModelFixture
{
public:
    ModelFixture(const CatalogFixtures::Signer &signer, const QUrl &serviceURL);

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QNetworkAccessManager> m_session;

public:
    StoreEnvironment environment;

    // The model's session; its transfer timeout is two seconds unless a test changes it.
    QNetworkAccessManager *session() const { return m_session.get(); }

    std::unique_ptr<StoreModel> makeModel() { return std::make_unique<StoreModel>(environment); }
    QString cacheFile() const;
    void writeCache(const QByteArray &envelope) const;

private:
    StoreEnvironment makeEnvironment(const CatalogFixtures::Signer &signer, const QUrl &serviceURL);
};
