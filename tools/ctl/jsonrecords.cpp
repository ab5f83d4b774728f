#include "ctl/jsonrecords.h"

#include "common/commandline.h"
#include "model/storemodel.h"
#include "presentation/appstate.h"

#include <QJsonDocument>

namespace JsonRecords {
namespace {

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue orNull(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue();
}

QString checkStatus(const StoreModel &model, const CatalogApp &app, const AppState &state)
{
    if (model.checkFailures().contains(app.productID))
        return QStringLiteral("unchecked");
    if (!state.installed)
        return QStringLiteral("notInstalled");
    return state.badge == AppState::Badge::Update ? QStringLiteral("update") : QStringLiteral("current");
}

} // namespace

QJsonObject catalogApp(const CatalogApp &app)
{
    return {
        {QStringLiteral("id"), app.productID},
        {QStringLiteral("name"), app.name},
        {QStringLiteral("bundleID"), app.bundleID},
        {QStringLiteral("teamID"), app.teamID},
        {QStringLiteral("minimumSystemVersion"), app.minimumSystemVersion},
        {QStringLiteral("appcastURL"), app.appcastURL.toString(QUrl::FullyEncoded)},
    };
}

QJsonObject installedCopy(const CatalogApp &app, const InstalledApp &copy)
{
    return {
        {QStringLiteral("id"), app.productID},
        {QStringLiteral("path"), copy.url},
        {QStringLiteral("version"), orNull(copy.shortVersion)},
        {QStringLiteral("build"), orNull(copy.build)},
    };
}

QJsonObject checkedApp(const StoreModel &model, const CatalogApp &app)
{
    const AppState state = AppState::of(model, app);
    const auto failure = model.checkFailures().constFind(app.productID);
    return {
        {QStringLiteral("id"), app.productID},
        {QStringLiteral("installedVersion"), state.installed ? orNull(state.installedVersion) : QJsonValue()},
        {QStringLiteral("installedBuild"), state.installed ? orNull(state.installedBuild) : QJsonValue()},
        {QStringLiteral("availableVersion"), orNull(state.availableVersion)},
        {QStringLiteral("availableBuild"), orNull(state.availableBuild)},
        {QStringLiteral("status"), checkStatus(model, app, state)},
        {QStringLiteral("reason"),
         failure != model.checkFailures().constEnd() ? QJsonValue(failure->detail) : QJsonValue()},
    };
}

QJsonObject release(const AppcastRelease &release)
{
    return {
        {QStringLiteral("build"), release.build},
        {QStringLiteral("version"), release.shortVersion},
        {QStringLiteral("url"), release.url.toString(QUrl::FullyEncoded)},
        {QStringLiteral("length"), release.length ? QJsonValue(double(*release.length)) : QJsonValue()},
        {QStringLiteral("edSignature"), orNull(release.edSignature)},
        {QStringLiteral("minimumSystemVersion"), orNull(release.minimumSystemVersion)},
    };
}

void print(const QJsonObject &record)
{
    printLine(QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact)));
}

} // namespace JsonRecords
