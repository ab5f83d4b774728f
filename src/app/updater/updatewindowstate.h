#pragma once

#include "install/installfailure.h"

#include <QObject>
#include <QQmlEngine>
#include <optional>

// What the store's own update window shows: the phase of the check or the install, its
// texts, its progress, and which of its buttons are there and enabled. The updater moves it
// from phase to phase; the window only binds.
class UpdateWindowState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the updater owns the state of its window")
    Q_PROPERTY(Phase phase READ phase NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)
    Q_PROPERTY(QString releaseNotes READ releaseNotes NOTIFY changed)
    Q_PROPERTY(bool showsProgress READ showsProgress NOTIFY changed)
    Q_PROPERTY(bool progressKnown READ progressKnown NOTIFY changed)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(bool showsChoices READ showsChoices NOTIFY changed)
    Q_PROPERTY(bool choicesEnabled READ choicesEnabled NOTIFY changed)
    Q_PROPERTY(bool showsDismiss READ showsDismiss NOTIFY changed)
    Q_PROPERTY(bool canClose READ canClose NOTIFY changed)

public:
    enum class Phase {
        Hidden,
        Checking,    // a check the user asked for
        UpToDate,    // it found nothing newer
        CheckFailed, // it could not read the feed
        Available,   // a newer version waits for the user's choice
        Downloading,
        Installing,  // downloaded: verifying, unpacking, exchanging
        Relaunching, // in place: the new copy starts, this one ends
        Failed,      // the install stopped; the running copy is as it was
    };
    Q_ENUM(Phase)

    explicit UpdateWindowState(QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    bool isVisible() const { return m_phase != Phase::Hidden; }
    QString title() const;
    QString message() const;
    // The notes as plain text (feeds write HTML), empty when the feed has none.
    const QString &releaseNotes() const { return m_releaseNotes; }
    bool showsProgress() const;
    // The download's share is known; checking and installing only turn.
    bool progressKnown() const { return m_phase == Phase::Downloading; }
    double progress() const { return m_progress; }
    // "Install and Relaunch", "Remind Me Later" and "Skip This Version": shown from the offer
    // to the end of the install, pressable only while the offer stands.
    bool showsChoices() const;
    bool choicesEnabled() const { return m_phase == Phase::Available; }
    // "OK", under a result.
    bool showsDismiss() const;
    // The window stays while the store replaces itself.
    bool canClose() const;

    // The running version as the user knows it, for the texts.
    void setRunningVersion(const QString &version);

    void showChecking();
    void showUpToDate();
    void showCheckFailed();
    void showAvailable(const QString &version, const std::optional<QString> &releaseNotes);
    void showDownloading();
    // The download's share, 0 to 1; the whole of it moves on to installing.
    void setProgress(double share);
    void showRelaunching();
    void showFailed(InstallFailure::Kind kind);
    // The new copy is in place but could not be started.
    void showNotStarted();
    void hide();

Q_SIGNALS:
    void changed();
    void progressChanged();

private:
    void setPhase(Phase phase);

    Phase m_phase = Phase::Hidden;
    QString m_runningVersion;
    QString m_newVersion;
    QString m_releaseNotes;
    double m_progress = 0;
    std::optional<InstallFailure::Kind> m_failure; // none in Failed: installed, not started
};
