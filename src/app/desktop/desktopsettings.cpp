#include "app/desktop/desktopsettings.h"

#include "app/desktop/gnomewindowpreferences.h"
#include "app/desktop/portalsettings.h"

#include <QDBusVariant>
#include <QPointer>
#include <array>

namespace {

struct Setting
{
    QLatin1String group;
    QLatin1String key;

    bool is(const QString &otherGroup, const QString &otherKey) const { return otherGroup == group && otherKey == key; }
};

constexpr Setting colorScheme{QLatin1String("org.freedesktop.appearance"), QLatin1String("color-scheme")};
constexpr Setting doubleClickTitleBar{QLatin1String("org.gnome.desktop.wm.preferences"),
                                      QLatin1String("action-double-click-titlebar")};
constexpr Setting buttonLayout{QLatin1String("org.gnome.desktop.wm.preferences"), QLatin1String("button-layout")};
constexpr Setting enableAnimations{QLatin1String("org.gnome.desktop.interface"), QLatin1String("enable-animations")};
constexpr std::array followedSettings{colorScheme, doubleClickTitleBar, buttonLayout, enableAnimations};

// The portal's colour schemes are 0 (no preference), 1 (dark) and 2 (light).
constexpr uint darkColorScheme = 1;

} // namespace

DesktopSettings::DesktopSettings(QDBusConnection bus, QObject *parent) : QObject(parent), m_bus(std::move(bus))
{
    // Nothing to read or follow without a bus. A call on one fails at once, before anything
    // could wait for it: a QDBusPendingCallWatcher made then would never report.
    if (!m_bus.isConnected()) {
        m_ready = true;
        return;
    }
    // Listening before reading, so that no change falls between the reading and the listening.
    m_bus.connect(PortalSettings::service, PortalSettings::objectPath, PortalSettings::settingsInterface,
                  QStringLiteral("SettingChanged"), this, SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    readAll();
}

QCoro::Task<> DesktopSettings::readAll()
{
    const QDBusConnection bus = m_bus;
    QPointer<DesktopSettings> self(this);
    for (const Setting &setting : followedSettings) {
        const std::optional<QVariant> value = co_await PortalSettings::read(bus, setting.group, setting.key);
        if (!self)
            co_return;
        if (value)
            apply(setting.group, setting.key, *value);
    }
    assign(m_ready, true, &DesktopSettings::readyChanged);
}

void DesktopSettings::onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    apply(group, key, PortalSettings::unwrapped(value.variant()));
}

void DesktopSettings::apply(const QString &group, const QString &key, const QVariant &value)
{
    if (colorScheme.is(group, key))
        assign(m_prefersDark, value.toUInt() == darkColorScheme, &DesktopSettings::prefersDarkChanged);
    else if (doubleClickTitleBar.is(group, key))
        assign(m_doubleClickAction, GnomeWindowPreferences::doubleClickAction(value.toString()),
               &DesktopSettings::doubleClickActionChanged);
    else if (buttonLayout.is(group, key))
        assign(m_closeButtonLeading, GnomeWindowPreferences::closeButtonLeading(value.toString()),
               &DesktopSettings::closeButtonLeadingChanged);
    else if (enableAnimations.is(group, key))
        assign(m_reduceMotion, value.metaType() == QMetaType::fromType<bool>() && !value.toBool(),
               &DesktopSettings::reduceMotionChanged);
}

template<typename T> void DesktopSettings::assign(T &member, T value, void (DesktopSettings::*changed)())
{
    if (member == value)
        return;
    member = std::move(value);
    Q_EMIT(this->*changed)();
}
