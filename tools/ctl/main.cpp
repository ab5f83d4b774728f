// tesselctl: the store without a window, for scripts and for the operators of a service.
#include "catalog/catalogloader.h"
#include "catalog/version.h"
#include "commandline.h"
#include "platform/bundle.h"
#include "platform/networksession.h"

#include <QCoreApplication>
#include <QFile>
#include <QNetworkAccessManager>
#include <qcorotask.h>

namespace {

// A catalog that cannot be had or accepted.
constexpr int ExitCatalogError = 3;

const QList<QCommandLineOption> configurationOptions{
    valueOption("issuer", "issuer the catalog must name", "I"),
    valueOption("key-id", "key identifier the envelope must carry", "K"),
    valueOption("public-key", "Ed25519 public key, base64url", "P"),
};

// The main bundle's configuration with the fields given on the command line replaced.
ServiceConfiguration configurationFrom(const QCommandLineParser &parser)
{
    ServiceConfiguration configuration = ServiceConfiguration::fromBundle(Bundle::main());
    if (parser.isSet(QStringLiteral("issuer")))
        configuration.issuer = parser.value(QStringLiteral("issuer"));
    if (parser.isSet(QStringLiteral("key-id")))
        configuration.keyID = parser.value(QStringLiteral("key-id"));
    if (parser.isSet(QStringLiteral("public-key")))
        configuration.publicKey = parser.value(QStringLiteral("public-key"));
    return configuration;
}

int printCatalog(const CatalogResult &result)
{
    if (!result) {
        printError(QStringLiteral("error: ") + errorName(result.error()));
        return ExitCatalogError;
    }
    for (const CatalogApp &app : result->apps)
        printLine(app.productID + u'\t' + app.name);
    return ExitSuccess;
}

int verifyCatalog(const QCommandLineParser &parser)
{
    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("error: cannot read %1").arg(file.fileName()));
        return ExitFailure;
    }
    const CatalogLoader loader(configurationFrom(parser), QString());
    return printCatalog(loader.decode(file.readAll()));
}

int compareVersions(const QCommandLineParser &parser)
{
    const QStringList operands = parser.positionalArguments();
    switch (Version::compare(operands[0], operands[1])) {
    case Version::Order::Ascending:
        printLine(QStringLiteral("ascending"));
        break;
    case Version::Order::Same:
        printLine(QStringLiteral("same"));
        break;
    case Version::Order::Descending:
        printLine(QStringLiteral("descending"));
        break;
    }
    return ExitSuccess;
}

int catalog(const QCommandLineParser &parser)
{
    const QString cache = parser.isSet(QStringLiteral("cache")) ? parser.value(QStringLiteral("cache"))
                                                               : CatalogLoader::defaultCacheURL();
    ServiceConfiguration configuration = configurationFrom(parser);
    if (parser.isSet(QStringLiteral("service")))
        configuration.serverURL = QUrl(parser.value(QStringLiteral("service")));
    const CatalogLoader loader(configuration, cache);
    const std::unique_ptr<QNetworkAccessManager> session(createNetworkSession(nullptr));
    return printCatalog(QCoro::waitFor(loader.load(session.get())));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    trustExtraCertificateAuthorities();
    const QList<Command> commands{
        {
            .name = QStringLiteral("verify-catalog"),
            .synopsis = QStringLiteral("[--issuer I --key-id K --public-key P] FILE"),
            .options = configurationOptions,
            .operandCount = 1,
            .run = verifyCatalog,
        },
        {
            .name = QStringLiteral("compare-versions"),
            .synopsis = QStringLiteral("A B"),
            .operandCount = 2,
            .run = compareVersions,
        },
        {
            .name = QStringLiteral("catalog"),
            .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P] [--cache FILE]"),
            .options = configurationOptions
                + QList<QCommandLineOption>{valueOption("service", "service base address", "URL"),
                                            valueOption("cache", "catalog cache file", "FILE")},
            .run = catalog,
        },
    };
    return runCommand(QStringLiteral("tesselctl"), commands, application.arguments());
}
