// tessel-service: the maker's side of the store — keys, signed catalogs, and a static
// HTTPS server for a service folder.
#include "catalog/catalog.h"
#include "catalog/version.h"
#include "common/commandline.h"
#include "crypto/base64.h"
#include "maker/appcastwriter.h"
#include "maker/bundlesigner.h"
#include "maker/catalogsigner.h"
#include "maker/certificateissuer.h"
#include "maker/demo/demobuilder.h"
#include "maker/httpsserver.h"
#include "maker/servicefiles.h"
#include "maker/signingkey.h"
#include "maker/staticsite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

namespace {

// The shared file helpers, with the tool's error line on failure.
bool writeFile(const QString &path, const QByteArray &bytes)
{
    if (ServiceFiles::write(path, bytes))
        return true;
    printError(QStringLiteral("error: cannot write %1").arg(path));
    return false;
}

bool writePrivateFile(const QString &path, const QByteArray &bytes)
{
    if (ServiceFiles::writePrivate(path, bytes))
        return true;
    printError(QStringLiteral("error: cannot write %1").arg(path));
    return false;
}

std::optional<QByteArray> readFile(const QString &path)
{
    std::optional<QByteArray> bytes = ServiceFiles::read(path);
    if (!bytes)
        printError(QStringLiteral("error: cannot read %1").arg(path));
    return bytes;
}

std::optional<SigningKey> readKey(const QString &path)
{
    std::optional<SigningKey> key = SigningKey::readFile(path);
    if (!key)
        printError(QStringLiteral("error: %1 holds no Ed25519 private key").arg(path));
    return key;
}

int keygen(const QCommandLineParser &parser)
{
    // A key overwritten by mistake cannot be had back, and everything signed with it is orphaned.
    if (QFileInfo::exists(parser.value(QStringLiteral("out"))) && !parser.isSet(QStringLiteral("force"))) {
        printError(QStringLiteral("error: %1 exists; --force replaces it").arg(parser.value(QStringLiteral("out"))));
        return ExitFailure;
    }
    const SigningKey key = SigningKey::generate();
    if (!key.writeFile(parser.value(QStringLiteral("out")))) {
        printError(QStringLiteral("error: cannot write %1").arg(parser.value(QStringLiteral("out"))));
        return ExitFailure;
    }
    printLine(QStringLiteral("base64url\t") + QString::fromLatin1(Base64::encodeURL(key.publicKey())));
    printLine(QStringLiteral("base64\t") + QString::fromLatin1(key.publicKey().toBase64()));
    return ExitSuccess;
}

int signCatalog(const QCommandLineParser &parser)
{
    const std::optional<SigningKey> key = readKey(parser.value(QStringLiteral("key")));
    const std::optional<QByteArray> catalog = readFile(parser.positionalArguments().first());
    if (!key || !catalog)
        return ExitFailure;
    // What the store would refuse is never signed.
    if (const Expected<Catalog, QString> decoded = Catalog::read(*catalog); !decoded) {
        printError(QStringLiteral("error: %1 is not a catalog the store accepts: %2")
                       .arg(parser.positionalArguments().first(), decoded.error()));
        return ExitFailure;
    }
    const QByteArray envelope = CatalogSigner::envelope(*catalog, *key, parser.value(QStringLiteral("kid")));
    if (!parser.isSet(QStringLiteral("out"))) {
        std::fwrite(envelope.constData(), 1, size_t(envelope.size()), stdout);
        return ExitSuccess;
    }
    return writeFile(parser.value(QStringLiteral("out")), envelope) ? ExitSuccess : ExitFailure;
}

int signArchive(const QCommandLineParser &parser)
{
    const std::optional<SigningKey> key = readKey(parser.value(QStringLiteral("key")));
    QFile archive(parser.positionalArguments().first());
    if (!key || !archive.open(QIODevice::ReadOnly)) {
        if (key)
            printError(QStringLiteral("error: cannot read %1").arg(archive.fileName()));
        return ExitFailure;
    }
    // Mapped: release archives can be large.
    const qint64 size = archive.size();
    const uchar *bytes = size > 0 ? archive.map(0, size) : nullptr;
    if (size > 0 && !bytes) {
        printError(QStringLiteral("error: cannot read %1").arg(archive.fileName()));
        return ExitFailure;
    }
    const QByteArray view = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), size);
    printLine(QString::fromLatin1(key->sign(view).toBase64()));
    return ExitSuccess;
}

int makeTLSCertificates(const QCommandLineParser &parser)
{
    QStringList hosts = parser.values(QStringLiteral("host"));
    if (hosts.isEmpty())
        hosts = {QStringLiteral("127.0.0.1"), QStringLiteral("localhost")};
    const QDir out(parser.value(QStringLiteral("out")));
    QDir().mkpath(out.path());
    const PemIdentity authority = CertificateIssuer::makeTLSAuthority(QStringLiteral("Tessel Demo Service CA"));
    const PemIdentity server = CertificateIssuer::makeTLSServer(authority, hosts);
    // The authority's key is not kept: nothing else can ever be issued under it.
    const bool written = writeFile(out.filePath(QStringLiteral("ca.pem")), authority.certificate) &&
                         writeFile(out.filePath(QStringLiteral("server.pem")), server.certificate) &&
                         writePrivateFile(out.filePath(QStringLiteral("server-key.pem")), server.privateKey);
    return written ? ExitSuccess : ExitFailure;
}

bool writeIdentity(const QDir &folder, const QString &name, const PemIdentity &identity)
{
    return writeFile(folder.filePath(name + QStringLiteral(".pem")), identity.certificate) &&
           writePrivateFile(folder.filePath(name + QStringLiteral("-key.pem")), identity.privateKey);
}

std::optional<PemIdentity> readIdentity(const QString &certificatePath, const QString &keyPath)
{
    const std::optional<QByteArray> certificate = readFile(certificatePath);
    const std::optional<QByteArray> key = readFile(keyPath);
    if (!certificate || !key)
        return std::nullopt;
    return PemIdentity{*certificate, *key};
}

int makeCA(const QCommandLineParser &parser)
{
    const QDir out(parser.value(QStringLiteral("out")));
    QDir().mkpath(out.path());
    const PemIdentity root = CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Tessel Demo Code Signing Root"));
    const PemIdentity intermediate =
        CertificateIssuer::makeCodeSigningIntermediate(root, QStringLiteral("Tessel Demo Developer CA"));
    return writeIdentity(out, QStringLiteral("root"), root) &&
                   writeIdentity(out, QStringLiteral("intermediate"), intermediate)
               ? ExitSuccess
               : ExitFailure;
}

int makeSigningCertificate(const QCommandLineParser &parser)
{
    const QDir ca(parser.value(QStringLiteral("ca")));
    const std::optional<PemIdentity> intermediate = readIdentity(ca.filePath(QStringLiteral("intermediate.pem")),
                                                                 ca.filePath(QStringLiteral("intermediate-key.pem")));
    if (!intermediate)
        return ExitFailure;
    const QDir out(parser.value(QStringLiteral("out")));
    QDir().mkpath(out.path());
    const PemIdentity leaf = CertificateIssuer::makeCodeSigningLeaf(*intermediate, parser.value(QStringLiteral("team")),
                                                                    parser.value(QStringLiteral("organisation")));
    return writeIdentity(out, QStringLiteral("signing"), leaf) ? ExitSuccess : ExitFailure;
}

int signBundle(const QCommandLineParser &parser)
{
    const std::optional<PemIdentity> leaf =
        readIdentity(parser.value(QStringLiteral("cert")), parser.value(QStringLiteral("key")));
    if (!leaf)
        return ExitFailure;
    QList<QByteArray> chain;
    for (const QString &path : parser.values(QStringLiteral("chain"))) {
        const std::optional<QByteArray> pem = readFile(path);
        if (!pem)
            return ExitFailure;
        chain.append(*pem);
    }
    const std::optional<QString> identifier = parser.isSet(QStringLiteral("identifier"))
                                                  ? std::optional<QString>(parser.value(QStringLiteral("identifier")))
                                                  : std::nullopt;
    if (const std::optional<QString> failure =
            BundleSigner(*leaf, chain).sign(parser.positionalArguments().first(), identifier)) {
        printError(QStringLiteral("error: ") + *failure);
        return ExitFailure;
    }
    return ExitSuccess;
}

int makeAppcast(const QCommandLineParser &parser)
{
    std::optional<SigningKey> key;
    if (parser.isSet(QStringLiteral("key"))) {
        key = readKey(parser.value(QStringLiteral("key")));
        if (!key)
            return ExitFailure;
    }
    const QDir archives(parser.value(QStringLiteral("dir")));
    if (!archives.exists()) {
        printError(QStringLiteral("error: there is no folder %1").arg(archives.path()));
        return ExitFailure;
    }
    // The base is a folder: without its trailing slash, resolving would replace its last part.
    QUrl base(parser.value(QStringLiteral("base-url")));
    if (!base.path().endsWith(u'/'))
        base.setPath(base.path() + u'/');
    QList<AppcastWriter::Item> items;
    for (const QString &name :
         archives.entryList({QStringLiteral("*.zip"), QStringLiteral("*.dmg")}, QDir::Files, QDir::Name)) {
        QString reason;
        const std::optional<AppcastWriter::Item> item = AppcastWriter::itemForArchive(
            archives.filePath(name), base.resolved(QUrl(name)), key ? &*key : nullptr, &reason);
        if (!item) {
            printError(QStringLiteral("error: ") + reason);
            return ExitFailure;
        }
        items.append(*item);
    }
    std::sort(items.begin(), items.end(), [](const AppcastWriter::Item &a, const AppcastWriter::Item &b) {
        return Version::compare(a.build, b.build) == Version::Order::Descending;
    });
    const QByteArray feed = AppcastWriter::feed(parser.value(QStringLiteral("title")), items);
    std::fwrite(feed.constData(), 1, size_t(feed.size()), stdout);
    return ExitSuccess;
}

int buildDemo(const QCommandLineParser &parser)
{
    const DemoBuilder::Options options{
        .source = parser.value(QStringLiteral("from")),
        .keys = parser.value(QStringLiteral("keys")),
        .baseURL = QUrl(parser.value(QStringLiteral("base-url"))),
        .demoApp = parser.value(QStringLiteral("demo-app")),
        .output = parser.positionalArguments().first(),
    };
    QString reason;
    const std::optional<DemoBuilder::Trust> trust = DemoBuilder::build(options, &reason);
    if (!trust) {
        printError(QStringLiteral("error: ") + reason);
        return ExitFailure;
    }
    printLine(QStringLiteral("issuer\t") + trust->issuer);
    printLine(QStringLiteral("key-id\t") + trust->keyID);
    printLine(QStringLiteral("public-key\t") + trust->publicKey);
    printLine(QStringLiteral("anchor\t") + QString::fromLatin1(trust->codeSigningRoot.toBase64()));
    printLine(QStringLiteral("archive-key\t") + trust->archivePublicKey);
    return ExitSuccess;
}

int serve(const QCommandLineParser &parser)
{
    bool portOK = false;
    const uint port = parser.value(QStringLiteral("port")).toUInt(&portOK);
    if (!portOK || port > 65535) {
        printError(QStringLiteral("error: --port takes a number from 0 to 65535"));
        return ExitUsage;
    }
    const std::optional<QByteArray> certificate = readFile(parser.value(QStringLiteral("cert")));
    const std::optional<QByteArray> key = readFile(parser.value(QStringLiteral("key")));
    if (!certificate || !key)
        return ExitFailure;
    HttpsServer server({*certificate, *key}, StaticSite(parser.value(QStringLiteral("root"))));
    if (!server.listen(QHostAddress::LocalHost, quint16(port))) {
        printError(QStringLiteral("error: cannot listen: %1").arg(server.errorString()));
        return ExitFailure;
    }
    printLine(QStringLiteral("serving %1").arg(server.baseURL().toString()));
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // A GUI application only for its image painting; it never opens a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const Tool tool{
        .name = QStringLiteral("tessel-service"),
        .description =
            QStringLiteral("The maker's side of the store: keys, signed catalogs, feeds and a static HTTPS server."),
        .commands =
            {
                {
                    .name = QStringLiteral("keygen"),
                    .synopsis = QStringLiteral("--out FILE [--force]"),
                    .description =
                        QStringLiteral("Make an Ed25519 key pair: the private key to a file, the public key printed."),
                    .options = {valueOption("out", "private key file to write", "FILE"),
                                QCommandLineOption(QStringLiteral("force"),
                                                   QStringLiteral("replace an existing key file"))},
                    .requiredOptions = {QStringLiteral("out")},
                    .run = keygen,
                },
                {
                    .name = QStringLiteral("sign-catalog"),
                    .synopsis = QStringLiteral("--key FILE --kid K [--out FILE] CATALOG.json"),
                    .description = QStringLiteral("Sign a catalog into the envelope the store loads."),
                    .options = {valueOption("key", "private key file", "FILE"),
                                valueOption("kid", "key identifier", "K"),
                                valueOption("out", "envelope file to write", "FILE")},
                    .requiredOptions = {QStringLiteral("key"), QStringLiteral("kid")},
                    .operandCount = 1,
                    .run = signCatalog,
                },
                {
                    .name = QStringLiteral("sign-archive"),
                    .synopsis = QStringLiteral("--key FILE ARCHIVE"),
                    .description = QStringLiteral("Print a release archive's Ed25519 signature, standard Base64."),
                    .options = {valueOption("key", "private key file", "FILE")},
                    .requiredOptions = {QStringLiteral("key")},
                    .operandCount = 1,
                    .run = signArchive,
                },
                {
                    .name = QStringLiteral("make-tls-cert"),
                    .synopsis = QStringLiteral("--out DIR [--host NAME]..."),
                    .description = QStringLiteral("Make a certificate authority and a server certificate for HTTPS."),
                    .options = {valueOption("out", "folder to write ca.pem, server.pem, server-key.pem", "DIR"),
                                valueOption("host", "host name or address", "NAME")},
                    .requiredOptions = {QStringLiteral("out")},
                    .run = makeTLSCertificates,
                },
                {
                    .name = QStringLiteral("make-ca"),
                    .synopsis = QStringLiteral("--out DIR"),
                    .description = QStringLiteral("Make a code-signing root and intermediate authority."),
                    .options = {valueOption("out", "folder to write root.pem, intermediate.pem and their keys", "DIR")},
                    .requiredOptions = {QStringLiteral("out")},
                    .run = makeCA,
                },
                {
                    .name = QStringLiteral("make-signing-cert"),
                    .synopsis = QStringLiteral("--ca DIR --team T [--organisation NAME] --out DIR"),
                    .description =
                        QStringLiteral("Issue a code-signing certificate for a team under a make-ca authority."),
                    .options = {valueOption("ca", "folder written by make-ca", "DIR"),
                                valueOption("team", "team identifier", "T"),
                                QCommandLineOption(QStringLiteral("organisation"), QStringLiteral("organisation name"),
                                                   QStringLiteral("NAME"), QStringLiteral("Orvel")),
                                valueOption("out", "folder to write signing.pem and signing-key.pem", "DIR")},
                    .requiredOptions = {QStringLiteral("ca"), QStringLiteral("team"), QStringLiteral("out")},
                    .run = makeSigningCertificate,
                },
                {
                    .name = QStringLiteral("sign-bundle"),
                    .synopsis =
                        QStringLiteral("--cert LEAF.pem --key KEY.pem [--chain CA.pem]... [--identifier ID] BUNDLE"),
                    .description = QStringLiteral("Code-sign an app bundle."),
                    .options = {valueOption("cert", "signing certificate", "LEAF.pem"),
                                valueOption("key", "its private key", "KEY.pem"),
                                valueOption("chain", "intermediate or root certificate to include", "CA.pem"),
                                valueOption("identifier", "signing identifier (default: CFBundleIdentifier)", "ID")},
                    .requiredOptions = {QStringLiteral("cert"), QStringLiteral("key")},
                    .operandCount = 1,
                    .run = signBundle,
                },
                {
                    .name = QStringLiteral("make-appcast"),
                    .synopsis = QStringLiteral("--dir ARCHIVES --base-url URL [--key FILE] [--title TITLE]"),
                    .description =
                        QStringLiteral("Write the update feed of a folder of release archives to standard output."),
                    .options = {valueOption("dir", "folder of release archives (.zip, .dmg)", "ARCHIVES"),
                                valueOption("base-url", "where the archives are served", "URL"),
                                valueOption("key", "Ed25519 private key to sign the archives with", "FILE"),
                                QCommandLineOption(QStringLiteral("title"), QStringLiteral("the feed's title"),
                                                   QStringLiteral("TITLE"), QStringLiteral("Releases"))},
                    .requiredOptions = {QStringLiteral("dir"), QStringLiteral("base-url")},
                    .run = makeAppcast,
                },
                {
                    .name = QStringLiteral("build-demo"),
                    .synopsis = QStringLiteral("--from DIR --keys DIR --base-url URL --demo-app PATH OUT"),
                    .description =
                        QStringLiteral("Build the demo service's folder: catalog, feeds, archives, images and keys."),
                    .options = {valueOption("from", "folder with apps.json", "DIR"),
                                valueOption("keys", "folder of the demo's keys", "DIR"),
                                valueOption("base-url", "where OUT will be served", "URL"),
                                valueOption("demo-app", "the tessel-demo-app executable", "PATH")},
                    .requiredOptions = {QStringLiteral("from"), QStringLiteral("keys"), QStringLiteral("base-url"),
                                        QStringLiteral("demo-app")},
                    .operandCount = 1,
                    .run = buildDemo,
                },
                {
                    .name = QStringLiteral("serve"),
                    .synopsis = QStringLiteral("--root DIR [--port N] --cert PEM --key PEM"),
                    .description = QStringLiteral("Serve a service folder over HTTPS on 127.0.0.1."),
                    .options = {valueOption("root", "service folder", "DIR"),
                                QCommandLineOption(QStringLiteral("port"), QStringLiteral("port, 0 for any"),
                                                   QStringLiteral("N"), QStringLiteral("0")),
                                valueOption("cert", "certificate", "PEM"), valueOption("key", "private key", "PEM")},
                    .requiredOptions = {QStringLiteral("root"), QStringLiteral("cert"), QStringLiteral("key")},
                    .run = serve,
                },
            },
        .epilogue = QStringLiteral("exit status: 0 done, 1 failed, 2 usage error."),
    };
    return runCommand(tool, application.arguments());
}
