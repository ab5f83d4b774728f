#pragma once

#include "harness/testserver.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class ModelFixture;
class ReleaseFactory;
class StoreModel;
struct CatalogApp;
namespace CatalogFixtures {
struct Signer;
}

// One app as the maker publishes it: its release archive and how the feed announces it.
struct Publication
{
    QString productID;
    QString build;
    QString file; // the archive's name on the server
    QByteArray archive;
    std::optional<QString> signature; // the feed's sparkle:edSignature
    bool publishesKey = true;
    std::optional<HttpResponse> answer; // how the archive is served, when not plainly
};

// The maker's shelf on a test server: a signed catalog of apps, each with its feed and its
// signed archive, and older copies of them on the test machine.
class AppShelf
{
public:
    AppShelf(const CatalogFixtures::Signer &signer, TestServer &server, ReleaseFactory &releases);

    // A signed app, zipped and signed for the feed.
    Publication zipped(const QString &id, const QString &build) const;
    // A feed of one release, the archive at this address.
    static QByteArray feed(const QString &build, const QString &archiveURL, const std::optional<QString> &signature);
    // Serves the catalog of these apps, their feeds and archives.
    void publish(const QList<Publication> &publications) const;
    // Puts an older signed copy of the app in the folder, as a user installed it.
    QString preinstall(const QString &id, const QString &build, const QString &folder,
                       const std::optional<QByteArray> &executable = {}) const;

    // A model of the fixture's machine that has loaded the catalog; a test without one stops.
    static std::unique_ptr<StoreModel> loadedModel(ModelFixture &fixture);
    static CatalogApp appNamed(const StoreModel &model, const QString &id);

private:
    const CatalogFixtures::Signer &m_signer;
    TestServer &m_server;
    ReleaseFactory &m_releases;
};
