#pragma once

#include "feeds/appcastrelease.h"
#include "platform/userdefaults.h"

#include <QDateTime>
#include <QVariantMap>
#include <chrono>
#include <optional>

// What the store keeps of its own updates in the user's defaults: whether it checks by itself
// ("SUEnableAutomaticChecks"), when it last checked ("SULastCheckTime") and the build the user
// chose to skip ("SUSkippedVersion").
class StoreUpdatePreferences
{
public:
    // Scheduled checks come once a day.
    static constexpr std::chrono::hours checkInterval{24};

    // Without a stored choice, checks run by themselves when the bundle's Info.plist says so
    // ("SUEnableAutomaticChecks" true), and not otherwise.
    StoreUpdatePreferences(UserDefaults defaults, const QVariantMap &info);

    bool automaticallyChecks() const;
    void setAutomaticallyChecks(bool checks);

    std::optional<QDateTime> lastCheck() const;
    void setLastCheck(const QDateTime &time);

    void skip(const AppcastRelease &release);
    // Whether a release found is offered: always when the user asked, on the schedule unless
    // the user skipped its build.
    bool offers(const AppcastRelease &release, bool userAsked) const;

    // How long until the next scheduled check is due: nothing to wait when there was none yet
    // or the last is a day old; a clock set back counts from now.
    std::chrono::milliseconds untilNextCheck(const QDateTime &now) const;

private:
    UserDefaults m_defaults;
    bool m_automaticByDefault;
};
