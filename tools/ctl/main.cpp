// tesselctl: the store without a window, for scripts and for the operators of a service.
#include "catalog/catalogloader.h"
#include "catalog/version.h"
#include "codesign/bundlesignatureverifier.h"
#include "codesign/catalogrequirement.h"
#include "common/commandline.h"
#include "ctl/catalogreport.h"
#include "ctl/jobprogressprinter.h"
#include "ctl/jsonrecords.h"
#include "ctl/stopsignals.h"
#include "feeds/appcastparser.h"
#include "install/archivesignature.h"
#include "install/installedcopies.h"
#include "model/storemodel.h"
#include "net/networksession.h"
#include "platform/bundle.h"
#include "platform/locations.h"
#include "presentation/appstate.h"
#include "presentation/storestatus.h"
#include "support/waitforresult.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <qcorotask.h>
#include <unistd.h>

namespace {

// A catalog that cannot be had or accepted.
constexpr int ExitCatalogError = 3;
// Some app's feed could not be read: what was shown or done is not the whole truth.
constexpr int ExitCheckFailed = 4;

const QList<QCommandLineOption> configurationOptions{
    valueOption("issuer", "issuer the catalog must name", "I"),
    valueOption("key-id", "key identifier the envelope must carry", "K"),
    valueOption("public-key", "Ed25519 public key, base64url", "P"),
};

const QCommandLineOption jsonOption(QStringLiteral("json"),
                                    QStringLiteral("one JSON object per line instead of the table (see --help)"));

bool wantsJSON(const QCommandLineParser &parser)
{
    return parser.optionNames().contains(QStringLiteral("json"));
}

const QList<QCommandLineOption> serviceOptions =
    configurationOptions + QList<QCommandLineOption>{
                               valueOption("service", "service base address", "URL"),
                           };

// A configuration with the fields given on the command line replaced.
ServiceConfiguration
configurationFrom(const QCommandLineParser &parser,
                  ServiceConfiguration configuration = ServiceConfiguration::fromBundle(Bundle::main()))
{
    if (parser.optionNames().contains(QStringLiteral("service")))
        configuration.serverURL = QUrl(parser.value(QStringLiteral("service")));
    if (parser.isSet(QStringLiteral("issuer")))
        configuration.issuer = parser.value(QStringLiteral("issuer"));
    if (parser.isSet(QStringLiteral("key-id")))
        configuration.keyID = parser.value(QStringLiteral("key-id"));
    if (parser.isSet(QStringLiteral("public-key")))
        configuration.publicKey = parser.value(QStringLiteral("public-key"));
    return configuration;
}

// The catalog's apps, or its stable error name and the reason in words.
int printCatalog(const CatalogResult &result, const QString &problem, const QCommandLineParser &parser)
{
    if (!result) {
        printError(QStringLiteral("error: ") + errorName(result.error()));
        explainCatalogFailure(problem, parser);
        return ExitCatalogError;
    }
    for (const CatalogApp &app : result->apps) {
        if (wantsJSON(parser))
            JsonRecords::print(JsonRecords::catalogApp(app));
        else
            printLine(app.productID + u'\t' + app.name);
    }
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
    const Expected<Catalog, CatalogRefusal> checked = loader.check(file.readAll());
    if (!checked)
        return printCatalog(checked.error().error, checked.error().detail, parser);
    return printCatalog(checked.value(), QString(), parser);
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
    const CatalogLoader loader(configurationFrom(parser), cache);
    QObject owner;
    const CatalogLoad load = waitForResult(loader.load(createNetworkSession(&owner)));
    if (load.result)
        warnAboutOrigin(load.origin, load.serviceProblem);
    return printCatalog(load.result, QStringList{load.serviceProblem, load.cacheProblem}.join(QStringLiteral("; ")),
                        parser);
}

int newestRelease(const QCommandLineParser &parser)
{
    QFile file(parser.positionalArguments().first());
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("error: cannot read %1").arg(file.fileName()));
        return ExitFailure;
    }
    const SystemVersion system = SystemVersion::parse(parser.value(QStringLiteral("system")));
    const Expected<AppcastRelease, AppcastParser::Failure> release = AppcastParser::newest(file.readAll(), system);
    if (!release) {
        printError(QStringLiteral("error: ") + AppcastParser::failureName(release.error()));
        return ExitFailure;
    }
    if (wantsJSON(parser)) {
        JsonRecords::print(JsonRecords::release(*release));
        return ExitSuccess;
    }
    // Encoded, so that a script can hand the address on as it stands.
    printLine(QStringList{release->build, release->shortVersion, release->url.toString(QUrl::FullyEncoded),
                          release->length ? QString::number(*release->length) : QString(),
                          release->edSignature.value_or(QString()), release->minimumSystemVersion.value_or(QString())}
                  .join(u'\t'));
    return ExitSuccess;
}

// This machine as the store sees it, configured from the main bundle and the command line.
// Its network session belongs to owner, which the caller ends before the application.
StoreEnvironment environmentFrom(const QCommandLineParser &parser, QObject *owner)
{
    StoreEnvironment environment = StoreEnvironment::standard(owner);
    environment.configuration = configurationFrom(parser, environment.configuration);
    return environment;
}

// A model over this machine that has loaded the catalog and the installed copies, then what
// else loading loads (StoreModel::load: the feeds too).
std::unique_ptr<StoreModel> loadedModel(const QCommandLineParser &parser, QObject *owner,
                                        QCoro::Task<> (StoreModel::*loading)())
{
    auto model = std::make_unique<StoreModel>(environmentFrom(parser, owner));
    QCoro::waitFor((model.get()->*loading)());
    if (model->loadState() != StoreModel::LoadState::Ready) {
        printError(QStringLiteral("error: no catalog could be loaded"));
        explainCatalogFailure(model->loadProblem(), parser);
        return nullptr;
    }
    warnAboutOrigin(model->catalogOrigin(), model->loadProblem());
    return model;
}

// The sentence for the apps whose feed the last check could not read, and each one's reason;
// false when there were none.
bool reportUncheckedApps(const StoreModel &model)
{
    const QList<CatalogApp> unchecked = StoreStatus::uncheckedApps(model);
    if (unchecked.isEmpty())
        return false;
    printError(StoreStatus::checkProblem(model));
    for (const CatalogApp &app : unchecked)
        printError(QStringLiteral("  %1: %2").arg(app.productID, model.checkFailures().value(app.productID).detail));
    return true;
}

int check(const QCommandLineParser &parser)
{
    QObject owner;
    const std::unique_ptr<StoreModel> model = loadedModel(parser, &owner, &StoreModel::load);
    if (!model)
        return ExitCatalogError;
    // The header and the time of the check are for people; a pipe gets the rows alone.
    const bool terminal = isatty(STDOUT_FILENO) == 1 && !wantsJSON(parser);
    if (terminal)
        printLine(QStringLiteral("ID\tINSTALLED\tAVAILABLE\tSTATUS"));
    for (const CatalogApp &app : model->apps()) {
        if (wantsJSON(parser)) {
            JsonRecords::print(JsonRecords::checkedApp(*model, app));
            continue;
        }
        const AppState state = AppState::of(*model, app);
        QStringList fields{app.productID, state.installed ? state.installedBuild : QStringLiteral("-"),
                           state.availableBuild.isEmpty() ? QStringLiteral("-") : state.availableBuild};
        if (model->checkFailures().contains(app.productID))
            fields.append(QStringLiteral("unchecked"));
        else if (state.badge == AppState::Badge::Update)
            fields.append(QStringLiteral("update"));
        printLine(fields.join(u'\t'));
    }
    if (terminal)
        printLine(QStringLiteral("Checked %1").arg(model->lastChecked().toLocalTime().toString(Qt::ISODate)));
    return reportUncheckedApps(*model) ? ExitCheckFailed : ExitSuccess;
}

int installed(const QCommandLineParser &parser)
{
    QObject owner;
    const StoreEnvironment environment = environmentFrom(parser, &owner);
    const CatalogLoader loader(environment.configuration, CatalogLoader::defaultCacheURL(environment.locations));
    const CatalogLoad load = waitForResult(loader.load(environment.session));
    const CatalogResult &catalog = load.result;
    if (!catalog)
        return printCatalog(catalog, QStringList{load.serviceProblem, load.cacheProblem}.join(QStringLiteral("; ")),
                            parser);
    warnAboutOrigin(load.origin, load.serviceProblem);
    // One look at the disk for every app, printed in the catalog's order.
    const QHash<QString, InstalledApp> installed =
        InstalledCopies(environment.locations, environment.registry.get()).installed(catalog->apps);
    for (const CatalogApp &app : catalog->apps) {
        const auto copy = installed.constFind(app.productID);
        if (copy == installed.constEnd())
            continue;
        if (wantsJSON(parser))
            JsonRecords::print(JsonRecords::installedCopy(app, *copy));
        else
            printLine(QStringList{app.productID, copy->url, copy->shortVersion, copy->build}.join(u'\t'));
    }
    return ExitSuccess;
}

int checkArchive(const QCommandLineParser &parser)
{
    const Expected<Unit, InstallFailure> checked =
        ArchiveSignature::check(parser.positionalArguments().first(), parser.value(QStringLiteral("signature")),
                                parser.value(QStringLiteral("public-key")));
    if (!checked) {
        printLine(QStringLiteral("invalid"));
        printError(checked.error().detail);
        return ExitFailure;
    }
    printLine(QStringLiteral("valid"));
    return ExitSuccess;
}

// Why an app the catalog lists is not among the model's: the model keeps only what this
// system runs. Empty when the catalog does not list it either.
QString needsNewerSystem(const StoreModel &model, const QString &productID)
{
    const CatalogResult catalog =
        CatalogLoader(model.configuration(), CatalogLoader::defaultCacheURL(Locations::standard())).cached();
    if (!catalog)
        return {};
    for (const CatalogApp &app : catalog->apps) {
        if (app.productID == productID)
            return QStringLiteral("%1 needs system %2 or newer; this system is %3 %4")
                .arg(app.name, app.minimumSystemVersion, SystemVersion::platformName(),
                     SystemVersion::current().majorMinor());
    }
    return {};
}

// The app of a loaded model with this product identifier, or the exit status after saying
// why there is none.
Expected<CatalogApp, int> catalogApp(const StoreModel &model, const QString &productID)
{
    QStringList known;
    for (const CatalogApp &app : model.apps()) {
        if (app.productID == productID)
            return app;
        known.append(app.productID);
    }
    if (const QString reason = needsNewerSystem(model, productID); !reason.isEmpty()) {
        printError(QStringLiteral("error: ") + reason);
        return int(ExitFailure);
    }
    printError(QStringLiteral("error: no app \"%1\" in the catalog; it lists: %2")
                   .arg(productID, known.join(QStringLiteral(", "))));
    return int(ExitUsage);
}

bool isQuiet(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("quiet"));
}

// Runs a model operation, drawing its jobs' progress unless quiet, and reports each job's
// outcome (only the failures when quiet).
int runJobs(StoreModel &model, QCoro::Task<> operation, const QList<CatalogApp> &apps, bool quiet)
{
    std::optional<JobProgressPrinter> printer;
    if (!quiet)
        printer.emplace(model, apps);
    QCoro::waitFor(std::move(operation));
    if (printer)
        printer->finish();
    bool failed = false;
    for (const CatalogApp &app : apps) {
        const auto job = model.jobs().constFind(app.productID);
        if (job != model.jobs().constEnd() && job->state == Job::State::Failed) {
            printError(app.name + QStringLiteral(": ") + job->message);
            if (!job->detail.isEmpty())
                printError(app.name + QStringLiteral(": ") + job->detail);
            failed = true;
        } else if (!quiet) {
            printLine(app.name + QStringLiteral(": done"));
        }
    }
    return failed ? ExitFailure : ExitSuccess;
}

// How a shell reports a process that a signal ended.
int signalExitStatus(int signal)
{
    return 128 + signal;
}

int installApp(const QCommandLineParser &parser)
{
    QObject owner;
    const StopSignals stopping(&owner);
    // The install fetches its own app's feed; the others' do not hold it up.
    const std::unique_ptr<StoreModel> model = loadedModel(parser, &owner, &StoreModel::loadCatalog);
    if (stopping.received())
        return signalExitStatus(stopping.received());
    if (!model)
        return ExitCatalogError;
    const Expected<CatalogApp, int> app = catalogApp(*model, parser.positionalArguments().first());
    if (!app)
        return app.error();
    if (!parser.isSet(QStringLiteral("reinstall")) && model->installed().contains(app->productID)) {
        QCoro::waitFor(model->checkFeed(*app));
        const InstalledApp copy = model->installed().value(app->productID);
        const auto release = model->releases().constFind(app->productID);
        if (release != model->releases().constEnd() && !needsUpdate(copy, *release)) {
            if (!isQuiet(parser))
                printLine(QStringLiteral("%1 is up to date (version %2, build %3); '--reinstall' installs it again.")
                              .arg(app->name, copy.shortVersion, copy.build));
            return ExitSuccess;
        }
    }
    const StoreModel::Opening opening =
        parser.isSet(QStringLiteral("no-open")) ? StoreModel::Opening::StayClosed : StoreModel::Opening::AsUsual;
    const int status = runJobs(*model, model->install(*app, opening), {*app}, isQuiet(parser));
    return stopping.received() ? signalExitStatus(stopping.received()) : status;
}

int updateApps(const QCommandLineParser &parser)
{
    if (!parser.isSet(QStringLiteral("all"))) {
        printError(QStringLiteral("error: update takes --all"));
        return ExitUsage;
    }
    QObject owner;
    const StopSignals stopping(&owner);
    const std::unique_ptr<StoreModel> model = loadedModel(parser, &owner, &StoreModel::load);
    if (stopping.received())
        return signalExitStatus(stopping.received());
    if (!model)
        return ExitCatalogError;
    const QList<CatalogApp> updates = model->updates();
    const bool allChecked = StoreStatus::uncheckedApps(*model).isEmpty();
    if (updates.isEmpty() && allChecked) {
        if (!isQuiet(parser))
            printLine(QStringLiteral("Everything is up to date."));
        return ExitSuccess;
    }
    const int status = updates.isEmpty() ? ExitSuccess : runJobs(*model, model->updateAll(), updates, isQuiet(parser));
    if (stopping.received())
        return signalExitStatus(stopping.received());
    // An update that failed says more than a feed that could not be read.
    return reportUncheckedApps(*model) && status == ExitSuccess ? ExitCheckFailed : status;
}

int openApp(const QCommandLineParser &parser)
{
    QObject owner;
    // Opening needs the catalog and the installed copies, not the feeds.
    const std::unique_ptr<StoreModel> model = loadedModel(parser, &owner, &StoreModel::loadCatalog);
    if (!model)
        return ExitCatalogError;
    const Expected<CatalogApp, int> app = catalogApp(*model, parser.positionalArguments().first());
    if (!app)
        return app.error();
    if (!model->installed().contains(app->productID)) {
        printError(QStringLiteral("error: %1 is not installed").arg(app->name));
        return ExitFailure;
    }
    const Expected<Unit, QString> opened = model->open(*app);
    if (!opened) {
        printError(QStringLiteral("error: %1 could not be opened: %2").arg(app->name, opened.error()));
        return ExitFailure;
    }
    return ExitSuccess;
}

int checkCodeSignature(const QCommandLineParser &parser)
{
    TrustAnchors anchors = TrustAnchors::forBundle(Bundle::main());
    for (const QString &path : parser.values(QStringLiteral("anchor"))) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("error: cannot read %1").arg(path));
            return ExitFailure;
        }
        for (const QByteArray &certificate : TrustAnchors::readPEM(file.readAll()))
            anchors.add(certificate);
    }
    CatalogApp app;
    app.bundleID = parser.value(QStringLiteral("bundle-id"));
    app.teamID = parser.value(QStringLiteral("team-id"));
    const CodeSignatureResult<Unit> checked =
        CatalogRequirement::check(parser.positionalArguments().first(), app, BundleSignatureVerifier(anchors));
    if (!checked) {
        printLine(QStringLiteral("invalid: %1: %2")
                      .arg(CodeSignatureFailure::name(checked.error().kind), checked.error().detail));
        return ExitFailure;
    }
    printLine(QStringLiteral("valid"));
    return ExitSuccess;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // Standard error is for the tool's own sentences; QT_LOGGING_RULES="tessel.*=true" shows
    // the store's log too.
    QLoggingCategory::setFilterRules(QStringLiteral("tessel.*=false"));
    trustExtraCertificateAuthorities();
    const Tool tool{
        .name = QStringLiteral("tesselctl"),
        .description = QStringLiteral("The store without a window, for scripts and for the operators of a service."),
        .commands =
            {
                {
                    .name = QStringLiteral("verify-catalog"),
                    .synopsis = QStringLiteral("[--issuer I --key-id K --public-key P] FILE"),
                    .description = QStringLiteral("Verify a signed catalog file as the store would and list its apps."),
                    .options = configurationOptions + QList<QCommandLineOption>{jsonOption},
                    .operandCount = 1,
                    .run = verifyCatalog,
                },
                {
                    .name = QStringLiteral("compare-versions"),
                    .synopsis = QStringLiteral("A B"),
                    .description =
                        QStringLiteral("Print how version A orders against B: ascending, same or descending."),
                    .operandCount = 2,
                    .run = compareVersions,
                },
                {
                    .name = QStringLiteral("catalog"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P] [--cache FILE]"),
                    .description = QStringLiteral(
                        "List the service's catalog (or the kept copy when the service does not answer)."),
                    .options =
                        serviceOptions +
                        QList<QCommandLineOption>{valueOption("cache", "catalog cache file", "FILE"), jsonOption},
                    .run = catalog,
                },
                {
                    .name = QStringLiteral("newest-release"),
                    .synopsis = QStringLiteral("--system X.Y.Z FILE"),
                    .description =
                        QStringLiteral("Print the release of an update feed that this system would be offered."),
                    .options = {valueOption("system", "the system version to choose for", "X.Y.Z"), jsonOption},
                    .requiredOptions = {QStringLiteral("system")},
                    .operandCount = 1,
                    .run = newestRelease,
                },
                {
                    .name = QStringLiteral("check"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P]"),
                    .description =
                        QStringLiteral("Check every app for updates: installed build, available build, status."),
                    .options = serviceOptions + QList<QCommandLineOption>{jsonOption},
                    .run = check,
                },
                {
                    .name = QStringLiteral("install"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P] [--no-open] "
                                               "[--reinstall] ID"),
                    .description = QStringLiteral("Install an app, or update it, and open it afterwards."),
                    .options = serviceOptions +
                               QList<QCommandLineOption>{
                                   QCommandLineOption(QStringLiteral("no-open"),
                                                      QStringLiteral("do not open the app afterwards")),
                                   QCommandLineOption(QStringLiteral("reinstall"),
                                                      QStringLiteral("install the app even when it is up to date"))},
                    .operandCount = 1,
                    .run = installApp,
                },
                {
                    .name = QStringLiteral("update"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P] --all"),
                    .description = QStringLiteral("Install every available update."),
                    .options = serviceOptions + QList<QCommandLineOption>{QCommandLineOption(
                                                    QStringLiteral("all"), QStringLiteral("every app with an update"))},
                    .run = updateApps,
                },
                {
                    .name = QStringLiteral("open"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P] ID"),
                    .description = QStringLiteral("Open an installed app."),
                    .options = serviceOptions,
                    .operandCount = 1,
                    .run = openApp,
                },
                {
                    .name = QStringLiteral("check-archive"),
                    .synopsis = QStringLiteral("--public-key KEY --signature SIG FILE"),
                    .description = QStringLiteral("Check a release archive's Ed25519 signature."),
                    .options = {valueOption("public-key", "the app's Ed25519 public key, standard Base64", "KEY"),
                                valueOption("signature", "the archive's signature, standard Base64", "SIG")},
                    .requiredOptions = {QStringLiteral("public-key"), QStringLiteral("signature")},
                    .operandCount = 1,
                    .run = checkArchive,
                },
                {
                    .name = QStringLiteral("check-code-signature"),
                    .synopsis = QStringLiteral("--bundle-id ID --team-id T [--anchor CERT.pem]... BUNDLE"),
                    .description =
                        QStringLiteral("Check an app bundle's code signature as the store does before installing it."),
                    .options = {valueOption("bundle-id", "the identifier the signature must carry", "ID"),
                                valueOption("team-id", "the team the signer must belong to", "T"),
                                valueOption("anchor", "an extra trusted root certificate", "CERT.pem")},
                    .requiredOptions = {QStringLiteral("bundle-id"), QStringLiteral("team-id")},
                    .operandCount = 1,
                    .run = checkCodeSignature,
                },
                {
                    .name = QStringLiteral("installed"),
                    .synopsis = QStringLiteral("[--service URL --issuer I --key-id K --public-key P]"),
                    .description =
                        QStringLiteral("List the installed copies of the catalog apps: id, location, version, build."),
                    .options = serviceOptions + QList<QCommandLineOption>{jsonOption},
                    .run = installed,
                },
            },
        .epilogue =
            QStringLiteral("exit status: 0 done, 1 failed, 2 usage error, 3 no catalog could be loaded,\n"
                           "  4 some apps could not be checked, 130/143 stopped by SIGINT/SIGTERM.\n"
                           "The service and its keys come from the store bundle's Info.plist when the tool is\n"
                           "inside one (Tessel Store.app/Contents/MacOS/tesselctl), otherwise from the built-in\n"
                           "production service; --service, --issuer, --key-id and --public-key replace them.\n"
                           "TESSEL_EXTRA_CA_CERTIFICATES names a PEM file of extra trusted authorities.\n"
                           "--json fields (null when not known; addresses fully encoded):\n"
                           "  catalog, verify-catalog: id name bundleID teamID minimumSystemVersion appcastURL\n"
                           "  check: id installedVersion installedBuild availableVersion availableBuild status reason\n"
                           "    (status: update, current, notInstalled, unchecked)\n"
                           "  installed: id path version build\n"
                           "  newest-release: build version url length edSignature minimumSystemVersion"),
        .commonOptions = {QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                                             QStringLiteral("print results and errors only, no progress")),
                          QCommandLineOption({QStringLiteral("v"), QStringLiteral("verbose")},
                                             QStringLiteral("print the store's steps on standard error"))},
        .prepare =
            [](const QCommandLineParser &parser) {
                if (parser.isSet(QStringLiteral("verbose")))
                    QLoggingCategory::setFilterRules(QStringLiteral("tessel.*=true"));
            },
    };
    return runCommand(tool, application.arguments());
}
