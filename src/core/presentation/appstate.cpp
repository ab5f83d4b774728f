#include "presentation/appstate.h"

#include "model/storemodel.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

QString titleOf(AppState::Action action)
{
    switch (action) {
    case AppState::Action::TryAgain:
        return QCoreApplication::translate("AppState", "Try Again");
    case AppState::Action::Installing:
        return QCoreApplication::translate("AppState", "Installing…");
    case AppState::Action::Get:
        return QCoreApplication::translate("AppState", "Get");
    case AppState::Action::Update:
        return QCoreApplication::translate("AppState", "Update");
    case AppState::Action::Open:
        break;
    }
    return QCoreApplication::translate("AppState", "Open");
}

} // namespace

AppState AppState::of(const StoreModel &model, const CatalogApp &app)
{
    AppState state;
    const QString &id = app.productID;
    const auto job = model.jobs().constFind(id);
    const auto copy = model.installed().constFind(id);
    const auto release = model.releases().constFind(id);
    const bool installed = copy != model.installed().constEnd();
    const bool known = release != model.releases().constEnd();
    const bool update = std::any_of(model.updates().cbegin(), model.updates().cend(),
                                    [&id](const CatalogApp &candidate) { return candidate.productID == id; });
    const bool failed = job != model.jobs().constEnd() && job->state == Job::State::Failed;
    const bool working = job != model.jobs().constEnd() && job->state == Job::State::Working;

    if (failed)
        state.action = Action::TryAgain;
    else if (working)
        state.action = Action::Installing;
    else if (!installed)
        state.action = Action::Get;
    else if (update)
        state.action = Action::Update;
    else
        state.action = Action::Open;
    state.actionTitle = titleOf(state.action);
    state.enabled = state.action != Action::Installing && (state.action != Action::Get || known);
    if (working) {
        const double fraction = job->fraction;
        state.indeterminate = !isDeterminate(fraction);
        state.progress = std::isnan(fraction) ? 0 : std::clamp(fraction, 0.0, 1.0);
    }
    if (failed)
        state.failureMessage = job->message;

    state.badge = update ? Badge::Update : installed ? Badge::Installed : Badge::None;
    state.installed = installed;
    if (installed) {
        state.installedVersion = copy->shortVersion;
        state.installedBuild = copy->build;
    }
    if (known) {
        state.availableVersion = release->shortVersion;
        state.availableBuild = release->build;
    }
    state.detail = installed ? QCoreApplication::translate("AppState", "Version %1").arg(copy->shortVersion)
                             : app.taglineFor(model.language());
    // The arrow is not a sentence: it reads the same in every language.
    state.updateDetail =
        installed && known ? copy->shortVersion + QStringLiteral(" \u2192 ") + release->shortVersion : state.detail;
    return state;
}
