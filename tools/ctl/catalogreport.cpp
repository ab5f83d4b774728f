#include "ctl/catalogreport.h"

#include "catalog/serviceconfiguration.h"
#include "common/commandline.h"
#include "platform/bundle.h"

#include <QCoreApplication>

namespace {

// Where the service and its keys were taken from, for the reasons that name what was expected.
QString configurationSource(const QCommandLineParser &parser)
{
    for (const char *option : {"service", "issuer", "key-id", "public-key"}) {
        if (parser.optionNames().contains(QString::fromLatin1(option)))
            return QStringLiteral("the command line");
    }
    const Bundle bundle = Bundle::main();
    if (!bundle.path().endsWith(QLatin1String(".app")))
        return QStringLiteral("the built-in production preset, because %1 is not inside a store bundle")
            .arg(QCoreApplication::applicationFilePath());
    if (ServiceConfiguration::fromBundle(bundle) == ServiceConfiguration::production() &&
        bundle.string(QStringLiteral("TesselServiceURL")) != ServiceConfiguration::production().serverURL.toString())
        return QStringLiteral("the built-in production preset, because %1 has no complete service configuration")
            .arg(bundle.infoPlistPath());
    return QStringLiteral("the Info.plist at %1").arg(bundle.infoPlistPath());
}

} // namespace

void explainCatalogFailure(const QString &problem, const QCommandLineParser &parser)
{
    for (const QString &reason : problem.split(QStringLiteral("; "), Qt::SkipEmptyParts))
        printError(QStringLiteral("  ") + reason);
    printError(QStringLiteral("  the service and its keys come from ") + configurationSource(parser));
}

void warnAboutOrigin(const CatalogOrigin &origin, const QString &serviceProblem)
{
    if (origin.isCached())
        printError(QStringLiteral("warning: using the catalog saved %1, because %2")
                       .arg(origin.savedAt.toString(Qt::ISODate), serviceProblem));
}
