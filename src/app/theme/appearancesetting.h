#pragma once

#include "app/theme/providedsingleton.h"
#include "platform/userdefaults.h"
#include "shell/appearance.h"

#include <QQmlEngine>

class StorePalette;

// The user's appearance choice, stored under "appearance", and the one it gives the window:
// "system" follows the desktop's preference, "light" and "dark" force. The palette follows
// at once, so the open window recolours without being rebuilt.
class AppearanceSetting : public QObject, public ProvidedSingleton<AppearanceSetting>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString appearance READ appearance WRITE setAppearance NOTIFY appearanceChanged)
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)

public:
    AppearanceSetting(UserDefaults defaults, StorePalette *palette, QObject *parent = nullptr);

    // The stored raw value, an unknown one read as "system".
    QString appearance() const { return Appearances::rawValue(m_appearance); }
    void setAppearance(const QString &raw);

    // The desktop's own preference, which "system" follows.
    void setSystemPrefersDark(bool prefersDark);

    bool isDark() const;

Q_SIGNALS:
    void appearanceChanged();
    void darkChanged();

private:
    void apply();

    UserDefaults m_defaults;
    StorePalette *m_palette;
    Appearance m_appearance;
    bool m_systemPrefersDark = false;
};
