#pragma once

#include <QMetaType>
#include <QString>

class StoreModel;
struct CatalogApp;

// What the store shows for one app at this moment: the action its button offers, the badge,
// the progress of its job, its versions and the second line of its row. Computed from the
// model, never stored there, so that the window and the command line agree.
class AppState
{
    Q_GADGET
    // Action and Badge share value names: a view names them Action.Update and Badge.Update.
    Q_CLASSINFO("RegisterEnumClassesUnscoped", "false")
    Q_PROPERTY(Action action MEMBER action)
    Q_PROPERTY(QString actionTitle MEMBER actionTitle)
    Q_PROPERTY(bool enabled MEMBER enabled)
    Q_PROPERTY(double progress MEMBER progress)
    Q_PROPERTY(bool indeterminate MEMBER indeterminate)
    Q_PROPERTY(Badge badge MEMBER badge)
    Q_PROPERTY(bool installed MEMBER installed)
    Q_PROPERTY(QString failureMessage MEMBER failureMessage)
    Q_PROPERTY(QString installedVersion MEMBER installedVersion)
    Q_PROPERTY(QString availableVersion MEMBER availableVersion)
    Q_PROPERTY(QString detail MEMBER detail)
    Q_PROPERTY(QString updateDetail MEMBER updateDetail)

public:
    // In the order of precedence: the first that applies wins.
    enum class Action { TryAgain, Installing, Get, Update, Open };
    Q_ENUM(Action)

    enum class Badge { None, Installed, Update };
    Q_ENUM(Badge)

    Action action = Action::Get;
    QString actionTitle;        // "Try Again", "Installing…", "Get", "Update", "Open"
    bool enabled = false;       // a click does something: not while installing, nor "Get" without a release
    double progress = 0;        // the job's fraction, 0 when indeterminate
    bool indeterminate = false; // while installing: nothing to show yet (0), past the end, or not a number
    Badge badge = Badge::None;
    QString failureMessage; // the last install's sentence, when it failed
    bool installed = false; // an installed copy was found
    QString installedVersion, installedBuild;
    QString availableVersion, availableBuild;
    QString detail;       // a row's second line: the tagline, or "Version %1" when installed
    QString updateDetail; // the same line in the list of updates: "2.1 → 2.2" when a release is known

    static AppState of(const StoreModel &model, const CatalogApp &app);
    // Whether a job's fraction can be drawn as a share of the whole: only strictly between 0
    // and 1 (0 is a download that has not reported yet; a NaN is no number at all).
    static bool isDeterminate(double fraction) { return fraction > 0 && fraction < 1; }

    bool operator==(const AppState &) const = default;
};
