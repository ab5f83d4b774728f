#include "maker/demo/demobuilder.h"

#include "codesign/trustanchors.h"
#include "crypto/base64.h"
#include "maker/appcastwriter.h"
#include "maker/archivewriter.h"
#include "maker/bundlesigner.h"
#include "maker/catalogsigner.h"
#include "maker/certificateissuer.h"
#include "maker/demo/demoart.h"
#include "maker/servicefiles.h"
#include "maker/signingkey.h"
#include "platform/propertylist.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>

namespace DemoBuilder {
namespace {

// A key or identity from the keys folder, made and kept there the first time.
SigningKey keptKey(const QDir &keys, const QString &name)
{
    if (std::optional<SigningKey> key = SigningKey::readFile(keys.filePath(name)))
        return *key;
    const SigningKey key = SigningKey::generate();
    key.writeFile(keys.filePath(name));
    return key;
}

PemIdentity keptIdentity(const QDir &keys, const QString &name, const std::function<PemIdentity()> &make)
{
    const QString certificate = keys.filePath(name + QStringLiteral(".pem"));
    const QString key = keys.filePath(name + QStringLiteral("-key.pem"));
    if (QFile::exists(certificate) && QFile::exists(key))
        return {ServiceFiles::read(certificate).value_or(QByteArray()), ServiceFiles::read(key).value_or(QByteArray())};
    const PemIdentity made = make();
    ServiceFiles::write(certificate, made.certificate);
    ServiceFiles::write(key, made.privateKey);
    QFile::setPermissions(key, QFile::ReadOwner | QFile::WriteOwner);
    return made;
}

} // namespace

std::optional<Trust> build(const Options &options, QString *reason)
{
    const QJsonDocument description = QJsonDocument::fromJson(
        ServiceFiles::read(options.source + QStringLiteral("/apps.json")).value_or(QByteArray()));
    if (!description.isObject()) {
        *reason = QStringLiteral("%1/apps.json is missing or not JSON").arg(options.source);
        return std::nullopt;
    }
    const QJsonObject demo = description.object();
    const QString team = demo.value(QStringLiteral("team")).toString();
    QDir().mkpath(options.keys);
    const QDir keys(options.keys);
    const SigningKey catalogKey = keptKey(keys, QStringLiteral("catalog-key.pem"));
    const SigningKey archiveKey = keptKey(keys, QStringLiteral("archive-key.pem"));
    const PemIdentity root = keptIdentity(keys, QStringLiteral("root"), [] {
        return CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Tessel Demo Code Signing Root"));
    });
    const PemIdentity intermediate = keptIdentity(keys, QStringLiteral("intermediate"), [&root] {
        return CertificateIssuer::makeCodeSigningIntermediate(root, QStringLiteral("Tessel Demo Developer CA"));
    });
    const PemIdentity leaf = keptIdentity(keys, QStringLiteral("signing"), [&] {
        return CertificateIssuer::makeCodeSigningLeaf(intermediate, team,
                                                      demo.value(QStringLiteral("organisation")).toString());
    });
    const BundleSigner signer(leaf, {intermediate.certificate});

    QDir(options.output).removeRecursively();
    QTemporaryDir staging;
    const QUrl base = options.baseURL;
    QJsonArray catalogApps;
    for (const QJsonValue value : demo.value(QStringLiteral("apps")).toArray()) {
        const QJsonObject app = value.toObject();
        const QString id = app.value(QStringLiteral("productID")).toString();
        const QString name = app.value(QStringLiteral("name")).toString();
        const QString bundleID = QStringLiteral("com.orvel.") + id;
        const QJsonArray colors = app.value(QStringLiteral("colors")).toArray();
        const QColor first(colors.at(0).toString());
        const QColor second(colors.at(1).toString());
        const bool diskImage = app.value(QStringLiteral("package")).toString() == QLatin1String("dmg");
        // A broken release, for the store to refuse: the newest archive changed after it was signed.
        const bool tampersNewest = app.value(QStringLiteral("tamperedNewestArchive")).toBool();
        const QString minimumSystem = app.value(QStringLiteral("minimumSystemVersion")).toString();

        // Pictures.
        const QString images = QStringLiteral("images/%1/").arg(id);
        QDir().mkpath(options.output + u'/' + images);
        const QImage icon = DemoArt::icon(first, second);
        icon.save(options.output + u'/' + images + QStringLiteral("icon.png"));
        QJsonArray screenshots;
        int shot = 0;
        for (const QJsonValue sizeValue : app.value(QStringLiteral("screenshots")).toArray()) {
            const QJsonArray size = sizeValue.toArray();
            const QString file = images + QStringLiteral("shot-%1.png").arg(++shot);
            DemoArt::screenshot(first, second, QSize(size.at(0).toInt(), size.at(1).toInt()), shot)
                .save(options.output + u'/' + file);
            screenshots.append(base.resolved(QUrl(file)).toString());
        }

        // Releases, oldest first in the description, newest first in the feed.
        QList<AppcastWriter::Item> items;
        const QJsonArray releases = app.value(QStringLiteral("releases")).toArray();
        for (const QJsonValue releaseValue : releases) {
            const QJsonObject release = releaseValue.toObject();
            const QString version = release.value(QStringLiteral("version")).toString();
            const QString bundle = staging.filePath(QStringLiteral("%1-%2/%3.app").arg(id, version, name));
            const QString executable = bundle + QStringLiteral("/Contents/MacOS/") + id;
            QDir().mkpath(QFileInfo(executable).absolutePath());
            QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
            const QVariantMap info{
                {QStringLiteral("CFBundleIdentifier"), bundleID},
                {QStringLiteral("CFBundleName"), name},
                {QStringLiteral("CFBundleExecutable"), id},
                {QStringLiteral("CFBundleShortVersionString"), version},
                {QStringLiteral("CFBundleVersion"), release.value(QStringLiteral("build")).toString()},
                {QStringLiteral("LSMinimumSystemVersion"), minimumSystem},
            };
            if (!ServiceFiles::write(bundle + QStringLiteral("/Contents/Info.plist"),
                                     PropertyList::serialize(info, PropertyList::Format::XML)) ||
                !QFile::copy(options.demoApp, executable) ||
                !icon.save(bundle + QStringLiteral("/Contents/Resources/AppIcon.png"))) {
                *reason = QStringLiteral("cannot lay out %1").arg(bundle);
                return std::nullopt;
            }
            QFile::setPermissions(executable,
                                  QFile::permissions(executable) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
            if (const std::optional<QString> failure = signer.sign(bundle)) {
                *reason = *failure;
                return std::nullopt;
            }
            const QString file = QStringLiteral("archives/%1-%2.%3")
                                     .arg(id, version, diskImage ? QStringLiteral("dmg") : QStringLiteral("zip"));
            const QString archive = options.output + u'/' + file;
            QDir().mkpath(QFileInfo(archive).absolutePath());
            if (!(diskImage ? ArchiveWriter::diskImage(bundle, archive) : ArchiveWriter::zip(bundle, archive))) {
                *reason = QStringLiteral("cannot pack %1").arg(archive);
                return std::nullopt;
            }
            std::optional<AppcastWriter::Item> item =
                AppcastWriter::itemForArchive(archive, base.resolved(QUrl(file)), &archiveKey, reason);
            if (!item)
                return std::nullopt;
            items.prepend(*item);
            if (tampersNewest && release == releases.last().toObject()) {
                QFile tampered(archive);
                if (!tampered.open(QIODevice::Append) || tampered.write("tampered") != 8) {
                    *reason = QStringLiteral("cannot change %1").arg(archive);
                    return std::nullopt;
                }
            }
        }
        const QString feed = QStringLiteral("feeds/%1.xml").arg(id);
        ServiceFiles::write(options.output + u'/' + feed, AppcastWriter::feed(name, items));

        catalogApps.append(QJsonObject{
            {QStringLiteral("productID"), id},
            {QStringLiteral("name"), name},
            {QStringLiteral("bundleID"), bundleID},
            {QStringLiteral("teamID"), team},
            {QStringLiteral("appcastURL"), base.resolved(QUrl(feed)).toString()},
            {QStringLiteral("sparklePublicKey"), QString::fromLatin1(archiveKey.publicKey().toBase64())},
            {QStringLiteral("websiteURL"), QStringLiteral("https://orvel.example/apps/%1/").arg(id)},
            {QStringLiteral("iconURL"), base.resolved(QUrl(images + QStringLiteral("icon.png"))).toString()},
            {QStringLiteral("minimumSystemVersion"), minimumSystem},
            {QStringLiteral("category"), app.value(QStringLiteral("category")).toString()},
            {QStringLiteral("tagline"), app.value(QStringLiteral("tagline")).toObject()},
            {QStringLiteral("description"), app.value(QStringLiteral("description")).toObject()},
            {QStringLiteral("screenshots"), screenshots},
        });
    }
    const QString issuer = demo.value(QStringLiteral("issuer")).toString();
    const QString keyID = demo.value(QStringLiteral("keyID")).toString();
    const QByteArray catalog = QJsonDocument(QJsonObject{{QStringLiteral("version"), 1},
                                                         {QStringLiteral("issuer"), issuer},
                                                         {QStringLiteral("apps"), catalogApps}})
                                   .toJson(QJsonDocument::Indented);
    ServiceFiles::write(options.output + QStringLiteral("/v1/catalog.json"), catalog);
    if (!ServiceFiles::write(options.output + QStringLiteral("/v1/catalog"),
                             CatalogSigner::envelope(catalog, catalogKey, keyID))) {
        *reason = QStringLiteral("cannot write the catalog");
        return std::nullopt;
    }
    return Trust{issuer, keyID, QString::fromLatin1(Base64::encodeURL(catalogKey.publicKey())),
                 TrustAnchors::readPEM(root.certificate).value(0),
                 QString::fromLatin1(archiveKey.publicKey().toBase64())};
}

} // namespace DemoBuilder
