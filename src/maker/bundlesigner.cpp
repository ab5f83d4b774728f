#include "maker/bundlesigner.h"

#include "crypto/opensslpointer.h"
#include "maker/requirementencoder.h"
#include "maker/servicefiles.h"
#include "platform/bundle.h"
#include "platform/propertylist.h"
#include "support/filetree.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <openssl/cms.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>
#include <unistd.h>

namespace {

using Certificate = OpenSSLPointer<X509, X509_free>;
using Key = OpenSSLPointer<EVP_PKEY, EVP_PKEY_free>;
using Bio = OpenSSLPointer<BIO, BIO_free_all>;
using CMS = OpenSSLPointer<CMS_ContentInfo, CMS_ContentInfo_free>;

// Folders whose dotted sub-folders are code of their own, signed separately.
const QRegularExpression
    nestedFolders(QStringLiteral("^(Frameworks|SharedFrameworks|PlugIns|Plug-ins|XPCServices|Helpers|MacOS|Library/"
                                 "(Automator|Spotlight|LoginItems))/[^/]+$"));

QVariantMap defaultRules2()
{
    auto rule = [](std::initializer_list<std::pair<const char *, QVariant>> options) {
        QVariantMap map;
        for (const auto &[key, value] : options)
            map.insert(QString::fromLatin1(key), value);
        return map;
    };
    return {
        {QStringLiteral("^.*"), true},
        {QStringLiteral("^[^/]+$"), rule({{"nested", true}, {"weight", 10.0}})},
        {QStringLiteral("^(Frameworks|SharedFrameworks|PlugIns|Plug-ins|XPCServices|Helpers|MacOS|Library/"
                        "(Automator|Spotlight|LoginItems))/"),
         rule({{"nested", true}, {"weight", 10.0}})},
        {QStringLiteral(".*\\.dSYM($|/)"), rule({{"weight", 11.0}})},
        {QStringLiteral("^(.*/)?\\.DS_Store$"), rule({{"omit", true}, {"weight", 2000.0}})},
        {QStringLiteral("^Info\\.plist$"), rule({{"omit", true}, {"weight", 20.0}})},
        {QStringLiteral("^version\\.plist$"), rule({{"weight", 20.0}})},
        {QStringLiteral("^embedded\\.provisionprofile$"), rule({{"weight", 20.0}})},
        {QStringLiteral("^PkgInfo$"), rule({{"omit", true}, {"weight", 20.0}})},
        {QStringLiteral("^Resources/"), rule({{"weight", 20.0}})},
        {QStringLiteral("^Resources/.*\\.lproj/"), rule({{"optional", true}, {"weight", 1000.0}})},
        {QStringLiteral("^Resources/Base\\.lproj/"), rule({{"weight", 1010.0}})},
        {QStringLiteral("^Resources/.*\\.lproj/locversion.plist$"), rule({{"omit", true}, {"weight", 1100.0}})},
    };
}

QVariantMap defaultRules()
{
    return {
        {QStringLiteral("^version.plist$"), true},
        {QStringLiteral("^Resources/"), true},
        {QStringLiteral("^Resources/.*\\.lproj/"),
         QVariantMap{{QStringLiteral("optional"), true}, {QStringLiteral("weight"), 1000.0}}},
        {QStringLiteral("^Resources/Base\\.lproj/"), QVariantMap{{QStringLiteral("weight"), 1010.0}}},
        {QStringLiteral("^Resources/.*\\.lproj/locversion.plist$"),
         QVariantMap{{QStringLiteral("omit"), true}, {QStringLiteral("weight"), 1100.0}}},
    };
}

bool omitted(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name == QLatin1String(".DS_Store") || path == QLatin1String("Info.plist") ||
           path == QLatin1String("PkgInfo") ||
           (path.startsWith(QLatin1String("Resources/")) && path.endsWith(QLatin1String(".lproj/locversion.plist")));
}

bool optionalResource(const QString &path)
{
    static const QRegularExpression localised(QStringLiteral("^Resources/[^/]*\\.lproj/"));
    return localised.match(path).hasMatch() && !path.startsWith(QLatin1String("Resources/Base.lproj/"));
}

QByteArray sha(QCryptographicHash::Algorithm algorithm, const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(algorithm);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
    return hash.result();
}

void appendU32(QByteArray &out, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    out.append(reinterpret_cast<const char *>(&big), 4);
}

// A version 0x20200 CodeDirectory: SHA-256, one page for the whole executable.
QByteArray codeDirectory(const QString &identifier, const QString &team, const QList<QByteArray> &specialSlots,
                         const QString &executable)
{
    const quint32 headerSize = 0x34;
    const QByteArray identifierBytes = identifier.toUtf8() + '\0';
    const QByteArray teamBytes = team.toUtf8() + '\0';
    const qint64 codeLimit = QFileInfo(executable).size();
    const quint32 codeSlots = codeLimit > 0 ? 1 : 0;
    const quint32 identOffset = headerSize;
    const quint32 teamOffset = identOffset + quint32(identifierBytes.size());
    const quint32 hashOffset = teamOffset + quint32(teamBytes.size()) + quint32(specialSlots.size()) * 32;
    const quint32 length = hashOffset + codeSlots * 32;

    QByteArray out;
    appendU32(out, 0xfade0c02);
    appendU32(out, length);
    appendU32(out, 0x20200);
    appendU32(out, 0); // flags
    appendU32(out, hashOffset);
    appendU32(out, identOffset);
    appendU32(out, quint32(specialSlots.size()));
    appendU32(out, codeSlots);
    appendU32(out, quint32(codeLimit));
    out.append(char(32)); // hash size
    out.append(char(2));  // SHA-256
    out.append(char(0));  // platform
    out.append(char(0));  // one page
    appendU32(out, 0);    // spare
    appendU32(out, 0);    // no scatter
    appendU32(out, teamOffset);
    out.append(identifierBytes);
    out.append(teamBytes);
    // Special slot k sits k hashes before the code slots: the highest slot comes first.
    for (qsizetype k = specialSlots.size(); k >= 1; --k)
        out.append(specialSlots[k - 1]);
    if (codeSlots)
        out.append(sha(QCryptographicHash::Sha256, executable));
    return out;
}

QString subjectOU(const QByteArray &pem)
{
    Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    Certificate certificate(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    if (!certificate)
        return {};
    char text[256] = {};
    X509_NAME_get_text_by_NID(X509_get_subject_name(certificate.get()), NID_organizationalUnitName, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

BundleSigner::BundleSigner(PemIdentity leaf, QList<QByteArray> chainPEM)
    : m_leaf(std::move(leaf)), m_chain(std::move(chainPEM))
{}

QString BundleSigner::team() const
{
    return subjectOU(m_leaf.certificate);
}

std::optional<QString> BundleSigner::sign(const QString &bundle, const std::optional<QString> &identifier) const
{
    QString reason;
    if (!signBundle(QDir::cleanPath(QFileInfo(bundle).absoluteFilePath()), identifier, &reason))
        return reason;
    return std::nullopt;
}

std::optional<BundleSigner::Signed>
BundleSigner::signBundle(const QString &bundle, const std::optional<QString> &identifier, QString *reason) const
{
    const QString contents = bundle + QStringLiteral("/Contents");
    const Bundle info = Bundle::at(bundle);
    const QString id = identifier.value_or(info.string(QStringLiteral("CFBundleIdentifier")));
    const QString executableName = info.string(QStringLiteral("CFBundleExecutable"));
    const QString team = this->team();
    if (!info.infoDictionary() || id.isEmpty() || executableName.isEmpty() || team.isEmpty()) {
        *reason =
            QStringLiteral("%1 needs an Info.plist with an identifier and an executable, and the leaf a team (OU)")
                .arg(bundle);
        return std::nullopt;
    }
    const QString mainExecutable = QStringLiteral("MacOS/") + executableName;
    QDir(contents + QStringLiteral("/_CodeSignature")).removeRecursively();

    QVariantMap files;
    QVariantMap files2;
    // Sorted, so nested bundles are met (and signed) before anything that contains them is sealed.
    QStringList paths;
    QDirIterator iterator(contents, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
    while (iterator.hasNext())
        paths.append(QDir(contents).relativeFilePath(iterator.next()));
    paths.sort();
    QStringList nestedBundles;
    for (const QString &path : std::as_const(paths)) {
        const QString absolute = contents + u'/' + path;
        const QFileInfo item(absolute);
        if (path == mainExecutable || path.startsWith(QLatin1String("_CodeSignature")) || omitted(path))
            continue;
        if (std::any_of(nestedBundles.begin(), nestedBundles.end(),
                        [&](const QString &n) { return path.startsWith(n + u'/'); }))
            continue;
        if (item.isDir() && !item.isSymLink()) {
            const bool nested =
                (nestedFolders.match(path).hasMatch() || !path.contains(u'/')) && item.fileName().contains(u'.');
            if (!nested)
                continue;
            const std::optional<Signed> inner = signBundle(absolute, std::nullopt, reason);
            if (!inner)
                return std::nullopt;
            const QString innerID = Bundle::at(absolute).string(QStringLiteral("CFBundleIdentifier"));
            files2.insert(
                path, QVariantMap{{QStringLiteral("cdhash"), inner->cdhash},
                                  {QStringLiteral("requirement"), RequirementEncoder::designatedText(innerID, team)}});
            nestedBundles.append(path);
            continue;
        }
        QVariantMap entry;
        if (item.isSymLink()) {
            entry.insert(QStringLiteral("symlink"),
                         QFile::decodeName(FileTree::linkTarget(absolute).value_or(QByteArray())));
        } else {
            entry.insert(QStringLiteral("hash"), sha(QCryptographicHash::Sha1, absolute));
            entry.insert(QStringLiteral("hash2"), sha(QCryptographicHash::Sha256, absolute));
            if (path.startsWith(QLatin1String("Resources/")) || path == QLatin1String("version.plist"))
                files.insert(path,
                             optionalResource(path)
                                 ? QVariant(QVariantMap{{QStringLiteral("hash"), entry.value(QStringLiteral("hash"))},
                                                        {QStringLiteral("optional"), true}})
                                 : entry.value(QStringLiteral("hash")));
        }
        if (optionalResource(path))
            entry.insert(QStringLiteral("optional"), true);
        files2.insert(path, entry);
    }

    const QByteArray resources = PropertyList::serialize(QVariantMap{{QStringLiteral("files"), files},
                                                                     {QStringLiteral("files2"), files2},
                                                                     {QStringLiteral("rules"), defaultRules()},
                                                                     {QStringLiteral("rules2"), defaultRules2()}},
                                                         PropertyList::Format::XML);
    const QByteArray requirements = RequirementEncoder::designatedSet(id, team);
    QFile infoFile(info.infoPlistPath());
    if (!infoFile.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("cannot read %1").arg(info.infoPlistPath());
        return std::nullopt;
    }
    const QList<QByteArray> specialSlots{QCryptographicHash::hash(infoFile.readAll(), QCryptographicHash::Sha256),
                                         QCryptographicHash::hash(requirements, QCryptographicHash::Sha256),
                                         QCryptographicHash::hash(resources, QCryptographicHash::Sha256)};
    const QByteArray directory = codeDirectory(id, team, specialSlots, contents + u'/' + mainExecutable);

    Bio leafBio(BIO_new_mem_buf(m_leaf.certificate.constData(), int(m_leaf.certificate.size())));
    Certificate leaf(PEM_read_bio_X509(leafBio.get(), nullptr, nullptr, nullptr));
    Bio keyBio(BIO_new_mem_buf(m_leaf.privateKey.constData(), int(m_leaf.privateKey.size())));
    Key key(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr));
    STACK_OF(X509) *chain = sk_X509_new_null();
    for (const QByteArray &pem : m_chain) {
        Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
        while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr))
            sk_X509_push(chain, certificate);
    }
    Bio data(BIO_new_mem_buf(directory.constData(), int(directory.size())));
    CMS cms(leaf && key ? CMS_sign(leaf.get(), key.get(), chain, data.get(), CMS_DETACHED | CMS_BINARY | CMS_NOSMIMECAP)
                        : nullptr);
    sk_X509_pop_free(chain, X509_free);
    if (!cms) {
        *reason = QStringLiteral("the signing certificate and key cannot sign");
        return std::nullopt;
    }
    unsigned char *der = nullptr;
    const int derLength = i2d_CMS_ContentInfo(cms.get(), &der);
    const QByteArray signature(reinterpret_cast<const char *>(der), std::max(derLength, 0));
    OPENSSL_free(der);

    const QDir signatureFolder(contents + QStringLiteral("/_CodeSignature"));
    QDir().mkpath(signatureFolder.path());
    const bool written =
        ServiceFiles::write(signatureFolder.filePath(QStringLiteral("CodeResources")), resources) &&
        ServiceFiles::write(signatureFolder.filePath(QStringLiteral("CodeRequirements")), requirements) &&
        ServiceFiles::write(signatureFolder.filePath(QStringLiteral("CodeDirectory")), directory) &&
        ServiceFiles::write(signatureFolder.filePath(QStringLiteral("CodeSignature")), signature);
    if (!written) {
        *reason = QStringLiteral("cannot write the signature into %1").arg(signatureFolder.path());
        return std::nullopt;
    }
    return Signed{QCryptographicHash::hash(directory, QCryptographicHash::Sha256).left(20)};
}
