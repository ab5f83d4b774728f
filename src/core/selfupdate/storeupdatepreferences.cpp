#include "selfupdate/storeupdatepreferences.h"

namespace {

const QString automaticKey = QStringLiteral("SUEnableAutomaticChecks");
const QString lastCheckKey = QStringLiteral("SULastCheckTime");
const QString skippedKey = QStringLiteral("SUSkippedVersion");

// The defaults hold text; a choice is written as the words a property list would use.
const QString yes = QStringLiteral("true");
const QString no = QStringLiteral("false");

} // namespace

StoreUpdatePreferences::StoreUpdatePreferences(UserDefaults defaults, const QVariantMap &info)
    : m_defaults(std::move(defaults)),
      m_automaticByDefault(info.value(automaticKey).typeId() == QMetaType::Bool && info.value(automaticKey).toBool())
{}

bool StoreUpdatePreferences::automaticallyChecks() const
{
    const std::optional<QString> stored = m_defaults.string(automaticKey);
    if (stored == yes)
        return true;
    if (stored == no)
        return false;
    return m_automaticByDefault;
}

void StoreUpdatePreferences::setAutomaticallyChecks(bool checks)
{
    m_defaults.setString(automaticKey, checks ? yes : no);
}

std::optional<QDateTime> StoreUpdatePreferences::lastCheck() const
{
    const QDateTime time =
        QDateTime::fromString(m_defaults.string(lastCheckKey).value_or(QString()), Qt::ISODateWithMs);
    return time.isValid() ? std::optional<QDateTime>(time) : std::nullopt;
}

void StoreUpdatePreferences::setLastCheck(const QDateTime &time)
{
    m_defaults.setString(lastCheckKey, time.toUTC().toString(Qt::ISODateWithMs));
}

void StoreUpdatePreferences::skip(const AppcastRelease &release)
{
    m_defaults.setString(skippedKey, release.build);
}

bool StoreUpdatePreferences::offers(const AppcastRelease &release, bool userAsked) const
{
    return userAsked || m_defaults.string(skippedKey) != release.build;
}

std::chrono::milliseconds StoreUpdatePreferences::untilNextCheck(const QDateTime &now) const
{
    const std::optional<QDateTime> last = lastCheck();
    if (!last)
        return std::chrono::milliseconds(0);
    const std::chrono::milliseconds since(std::max<qint64>(0, last->msecsTo(now)));
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(checkInterval) - since);
}
