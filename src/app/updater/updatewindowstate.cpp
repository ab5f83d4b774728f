#include "app/updater/updatewindowstate.h"

#include <QTextDocumentFragment>

UpdateWindowState::UpdateWindowState(QObject *parent) : QObject(parent) {}

QString UpdateWindowState::title() const
{
    switch (m_phase) {
    case Phase::Hidden:
        break;
    case Phase::Checking:
        return tr("Checking for updates…");
    case Phase::UpToDate:
        return tr("You’re up to date!");
    case Phase::CheckFailed:
        return tr("The update check failed.");
    case Phase::Available:
        return tr("A new version of Tessel Store is available!");
    case Phase::Downloading:
        return tr("Downloading Tessel Store %1…").arg(m_newVersion);
    case Phase::Installing:
        return tr("Installing Tessel Store %1…").arg(m_newVersion);
    case Phase::Relaunching:
        return tr("Starting Tessel Store %1…").arg(m_newVersion);
    case Phase::Failed:
        return tr("The update could not be installed.");
    }
    return QString();
}

QString UpdateWindowState::message() const
{
    switch (m_phase) {
    case Phase::Hidden:
    case Phase::Checking:
    case Phase::Downloading:
    case Phase::Installing:
    case Phase::Relaunching:
        break;
    case Phase::UpToDate:
        return tr("Tessel Store %1 is the newest version.").arg(m_runningVersion);
    case Phase::CheckFailed:
        return tr("Tessel Store could not read its update feed. Check your connection and try again.");
    case Phase::Available:
        return tr("Tessel Store %1 is now available — you have %2. Would you like to install it now?")
            .arg(m_newVersion, m_runningVersion);
    case Phase::Failed:
        if (!m_failure)
            return tr("Tessel Store %1 is installed but did not start. Open Tessel Store again to use it.")
                .arg(m_newVersion);
        switch (*m_failure) {
        case InstallFailure::Kind::Download:
            return tr("The download did not finish. Check your connection and try again. Tessel Store %1 stays "
                      "as it is.")
                .arg(m_runningVersion);
        case InstallFailure::Kind::BadArchiveSignature:
        case InstallFailure::Kind::BadCodeSignature:
        case InstallFailure::Kind::WrongApp:
            return tr("The update did not pass the security check, so it was not installed. Tessel Store %1 "
                      "stays as it is.")
                .arg(m_runningVersion);
        case InstallFailure::Kind::NoAppInArchive:
        case InstallFailure::Kind::Extract:
            return tr("The update could not be opened. Tessel Store %1 stays as it is.").arg(m_runningVersion);
        case InstallFailure::Kind::CannotReplace:
        case InstallFailure::Kind::FileSystem:
            break;
        }
        return tr("Tessel Store could not replace itself. Make sure its folder can be written, then try again. "
                  "Tessel Store %1 stays as it is.")
            .arg(m_runningVersion);
    }
    return QString();
}

bool UpdateWindowState::showsProgress() const
{
    return m_phase == Phase::Checking || m_phase == Phase::Downloading || m_phase == Phase::Installing ||
           m_phase == Phase::Relaunching;
}

bool UpdateWindowState::showsChoices() const
{
    return m_phase == Phase::Available || m_phase == Phase::Downloading || m_phase == Phase::Installing ||
           m_phase == Phase::Relaunching;
}

bool UpdateWindowState::showsDismiss() const
{
    return m_phase == Phase::UpToDate || m_phase == Phase::CheckFailed || m_phase == Phase::Failed;
}

bool UpdateWindowState::canClose() const
{
    return m_phase != Phase::Downloading && m_phase != Phase::Installing && m_phase != Phase::Relaunching;
}

void UpdateWindowState::setRunningVersion(const QString &version)
{
    if (version == m_runningVersion)
        return;
    m_runningVersion = version;
    Q_EMIT changed();
}

void UpdateWindowState::showChecking()
{
    setPhase(Phase::Checking);
}

void UpdateWindowState::showUpToDate()
{
    setPhase(Phase::UpToDate);
}

void UpdateWindowState::showCheckFailed()
{
    setPhase(Phase::CheckFailed);
}

void UpdateWindowState::showAvailable(const QString &version, const std::optional<QString> &releaseNotes)
{
    m_newVersion = version;
    // Shown as plain text: a feed's markup never reaches the window, nor loads anything.
    m_releaseNotes = releaseNotes ? QTextDocumentFragment::fromHtml(*releaseNotes)
                                        .toPlainText()
                                        .remove(QChar::ObjectReplacementCharacter)
                                        .trimmed()
                                  : QString();
    // New texts even when the phase stays.
    m_phase = Phase::Available;
    Q_EMIT changed();
}

void UpdateWindowState::showDownloading()
{
    setProgress(0);
    setPhase(Phase::Downloading);
}

void UpdateWindowState::setProgress(double share)
{
    const double bounded = std::clamp(share, 0.0, 1.0);
    if (bounded != m_progress) {
        m_progress = bounded;
        Q_EMIT progressChanged();
    }
    if (m_phase == Phase::Downloading && bounded >= 1.0)
        setPhase(Phase::Installing);
}

void UpdateWindowState::showRelaunching()
{
    setPhase(Phase::Relaunching);
}

void UpdateWindowState::showFailed(InstallFailure::Kind kind)
{
    m_failure = kind;
    // New texts even when the phase stays.
    m_phase = Phase::Failed;
    Q_EMIT changed();
}

void UpdateWindowState::showNotStarted()
{
    m_failure.reset();
    // New texts even when the phase stays.
    m_phase = Phase::Failed;
    Q_EMIT changed();
}

void UpdateWindowState::hide()
{
    setPhase(Phase::Hidden);
}

void UpdateWindowState::setPhase(Phase phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    Q_EMIT changed();
}
