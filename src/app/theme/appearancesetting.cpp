#include "app/theme/appearancesetting.h"

#include "app/theme/storepalette.h"

namespace {

const QString key = QStringLiteral("appearance");

} // namespace

AppearanceSetting::AppearanceSetting(UserDefaults defaults, StorePalette *palette, QObject *parent)
    : QObject(parent), m_defaults(std::move(defaults)), m_palette(palette),
      m_appearance(Appearances::fromRawValue(m_defaults.string(key).value_or(QString())))
{
    apply();
}

void AppearanceSetting::setAppearance(const QString &raw)
{
    const Appearance chosen = Appearances::fromRawValue(raw);
    m_defaults.setString(key, Appearances::rawValue(chosen));
    if (chosen == m_appearance)
        return;
    const bool wasDark = isDark();
    m_appearance = chosen;
    apply();
    Q_EMIT appearanceChanged();
    if (wasDark != isDark())
        Q_EMIT darkChanged();
}

void AppearanceSetting::setSystemPrefersDark(bool prefersDark)
{
    if (m_systemPrefersDark == prefersDark)
        return;
    const bool wasDark = isDark();
    m_systemPrefersDark = prefersDark;
    apply();
    if (wasDark != isDark())
        Q_EMIT darkChanged();
}

bool AppearanceSetting::isDark() const
{
    switch (m_appearance) {
    case Appearance::Light:
        return false;
    case Appearance::Dark:
        return true;
    case Appearance::System:
        break;
    }
    return m_systemPrefersDark;
}

void AppearanceSetting::apply()
{
    if (m_palette)
        m_palette->setDark(isDark());
}
