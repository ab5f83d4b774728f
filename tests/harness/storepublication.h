#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <optional>

class ReleaseFactory;
class TestServer;

// The store as its maker publishes it, for the self-updater's tests: a running copy in a
// folder of its own, code-signed by the factory's chain and configured for a feed on the
// test server, and the releases that feed announces.
class StorePublication
{
public:
    static inline const QString bundleID = QStringLiteral("com.orvel.tessel-store");

    StorePublication(ReleaseFactory *releases, TestServer *server, QString folder);

    // The Info.plist of a store of this version, configured for the test feed and key.
    QVariantMap info(const QString &shortVersion, const QString &build, const QString &identifier = bundleID) const;
    // Lays out the running store "Tessel Store.app" of this version and returns its path.
    QString install(const QString &shortVersion, const QString &build, const QVariantMap &extraInfo = {});
    const QString &running() const { return m_running; }

    // A code-signed release of the store, zipped.
    QByteArray release(const QString &shortVersion, const QString &build, const QString &identifier = bundleID,
                       const std::optional<QString> &team = std::nullopt);
    // The feed announces the archive as this version, with its signature (the factory's own
    // when none is given) and release notes when given.
    void publish(const QString &shortVersion, const QString &build, const QByteArray &archive,
                 const std::optional<QString> &signature = std::nullopt,
                 const std::optional<QString> &notes = std::nullopt);

    QUrl feed() const;

private:
    ReleaseFactory *m_releases;
    TestServer *m_server;
    QString m_folder;
    QString m_running;
};
