#pragma once

#include "codesign/trustanchors.h"
#include "maker/certificateissuer.h"
#include "maker/signingkey.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

// Releases as a maker publishes them, for tests: app bundles code-signed by a test chain,
// packed as zip files or disk images, and Ed25519-signed for the feed.
class ReleaseFactory
{
public:
    // One entry of a hand-made zip: a file, a folder, or a link (with its target).
    struct ZipEntry
    {
        enum class Type { File, Folder, Link };
        QString name;
        Type type = Type::File;
        QByteArray data; // a file's bytes, or a link's target
        int mode = 0644;
    };

    static constexpr const char *team = "ORVEL12345";

    explicit ReleaseFactory(QString folder);

    // The anchors that trust this factory's code-signing chain.
    TrustAnchors anchors() const;
    // The archive key's public half, standard Base64, as a catalog's sparklePublicKey.
    QString archivePublicKey() const;
    // The archive's Ed25519 signature, standard Base64, as a feed's sparkle:edSignature.
    QString signature(const QByteArray &archive) const;

    // A code-signed app bundle "NAME.app" with this identifier and build. The executable
    // defaults to a script that appends a line to launchMarker() when it runs.
    QString app(const QString &name, const QString &bundleID, const QString &build,
                const std::optional<QByteArray> &executable = std::nullopt);
    // The same with the whole Info.plist given (its executable named "app", its build under
    // "CFBundleVersion"), signed by a leaf of this chain for the team given.
    QString app(const QString &name, const QVariantMap &info, const QString &signingTeam = QString::fromLatin1(team),
                const std::optional<QByteArray> &executable = std::nullopt);
    // The file each launched default executable appends its bundle's build to, and what it
    // holds: a line per launch, empty before the first.
    QString launchMarker() const;
    QByteArray launches() const;

    // A zip with the given folder's entries (the bundle at the top unless under a prefix),
    // keeping modes and links.
    static QByteArray zip(const QString &bundle, const QString &prefix = QString());
    static QByteArray zip(const QList<ZipEntry> &entries);
    // The entries zip(bundle, prefix) writes, to pack several bundles into one zip.
    static QList<ZipEntry> zipEntries(const QString &bundle, const QString &prefix = QString());
    // An ISO 9660 image with Rock Ridge (modes and links), the bundle at its top, made by xorriso.
    QByteArray diskImage(const QString &bundle) const;

private:
    QString m_folder;
    int m_made = 0;
    PemIdentity m_root;
    PemIdentity m_intermediate;
    PemIdentity m_leaf;
    SigningKey m_archiveKey;
};
