#pragma once

#include "app/theme/providedsingleton.h"
#include "app/updater/updatewindowstate.h"
#include "feeds/appcastrelease.h"
#include "platform/bundle.h"
#include "platform/systemversion.h"
#include "selfupdate/storeupdatepreferences.h"

#include <QDateTime>
#include <QObject>
#include <QQmlEngine>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <qcorotask.h>

class CodeSignatureVerifier;
class QNetworkAccessManager;
class RunningApplications;

// The store's own updater, over the feed, key and bundle the running store's Info.plist
// names ("SUFeedURL", "SUPublicEDKey"): checks on the user's word and once a day, offers a
// newer version in a window of its own, and installs it in the running copy's place, then
// starts the new copy and quits. Without a usable configuration there is no updater: nothing
// can be checked and the settings do not show.
class AppUpdater : public QObject, public ProvidedSingleton<AppUpdater>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool configured READ isConfigured CONSTANT)
    Q_PROPERTY(bool canCheck READ canCheck NOTIFY canCheckChanged)
    Q_PROPERTY(bool automaticallyChecks READ automaticallyChecks WRITE setAutomaticallyChecks NOTIFY
                   automaticallyChecksChanged)
    Q_PROPERTY(UpdateWindowState *window READ window CONSTANT)

public:
    // What the updater uses of the machine; a test hands in its own.
    struct Services
    {
        QNetworkAccessManager *session = nullptr; // not owned
        std::shared_ptr<const CodeSignatureVerifier> verifier;
        std::shared_ptr<RunningApplications> launcher;
        SystemVersion systemVersion;
        QString temporary;          // where install work folders go
        std::function<void()> quit; // ends the store once its new copy runs
        std::function<QDateTime()> now;

        // The main bundle's code-signing anchors, a session of its own (made as a child of
        // owner), the desktop's launching, the per-user temporary folder, the system clock.
        static Services standard(const Bundle &running, QObject *owner);
    };

    AppUpdater(Bundle running, UserDefaults defaults, Services services, QObject *parent = nullptr);
    ~AppUpdater() override;

    // Starts the updater once: it checks that the running copy's own signature is valid (its
    // team is the one a new version must have), then allows checks and keeps the schedule.
    // Unconfigured, or called again, it does nothing; a failure is logged, and no check can start.
    void start();

    bool isConfigured() const { return m_configured; }
    // True while a check may start now: never before the updater started, nor while a check
    // runs or a newer version is offered or being installed.
    bool canCheck() const { return m_canCheck; }
    bool automaticallyChecks() const { return m_automaticallyChecks; }
    void setAutomaticallyChecks(bool checks);
    UpdateWindowState *window() const { return m_window.get(); }

    // The check the user asks for: its result shows, even "nothing newer".
    Q_INVOKABLE void checkForUpdates();
    // The offer's three answers.
    Q_INVOKABLE void installUpdate();
    Q_INVOKABLE void remindLater();
    Q_INVOKABLE void skipThisVersion();
    // "OK" under a result, or the window closed: the same as later, for an offer.
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void canCheckChanged();
    void automaticallyChecksChanged();
    // The new copy is about to start: the store's single-instance claim must go first.
    void relaunching();

private:
    QCoro::Task<> startUpdater();
    QCoro::Task<> check(bool userAsked);
    QCoro::Task<> install();
    void setCanCheck(bool can);
    void scheduleNextCheck();
    // The offer ends, whichever way: checks may start again.
    void closeOffer();

    Bundle m_running;
    Services m_services;
    StoreUpdatePreferences m_preferences;
    bool m_configured;
    bool m_started = false;
    bool m_canCheck = false;
    bool m_automaticallyChecks = false;
    bool m_installing = false;
    QString m_team; // of the running copy, once started
    std::optional<AppcastRelease> m_offered;
    std::unique_ptr<UpdateWindowState> m_window;
    QTimer m_schedule;
};
