#pragma once

#include <QString>
#include <optional>

// Starting a bundle with the user's session: an XDG autostart entry that runs the bundle's
// executable in the background. The entry is the registration; nothing else is kept.
class LoginItem
{
public:
    // What the autostart entry passes, so that the store starts in the tray without a window.
    static inline const QString backgroundArgument = QStringLiteral("--background");

    LoginItem(QString autostartFolder, QString bundlePath);

    // True exactly when the entry exists, starts this bundle and is not hidden or turned off.
    bool isEnabled() const;

    // Writes or removes the entry; the reason, in words, when that failed. Turning it off
    // leaves an entry that starts another copy of the bundle alone.
    std::optional<QString> setEnabled(bool enabled);

    // Where this bundle's entry is, named after its identifier.
    QString entryPath() const { return m_entryPath; }

private:
    bool startsThisBundle() const;

    QString m_bundlePath;
    QString m_entryPath; // from the bundle's Info.plist, read once
};
