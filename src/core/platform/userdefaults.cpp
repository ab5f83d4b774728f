#include "platform/userdefaults.h"

#include <QCoreApplication>
#include <QSettings>

UserDefaults::UserDefaults(const QStringList &arguments, std::shared_ptr<QSettings> settings)
    : m_arguments(arguments), m_settings(std::move(settings))
{}

UserDefaults UserDefaults::standard()
{
    return UserDefaults(QCoreApplication::arguments(),
                        std::make_shared<QSettings>(QStringLiteral("Orvel"), QStringLiteral("Tessel Store")));
}

std::optional<QString> UserDefaults::string(const QString &key) const
{
    // The last "-key value" pair wins, as with any command-line option given twice.
    const QString option = u'-' + key;
    for (qsizetype i = m_arguments.size() - 2; i >= 1; --i) {
        if (m_arguments[i] == option)
            return m_arguments[i + 1];
    }
    const QVariant stored = m_settings ? m_settings->value(key) : QVariant();
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stored.toString();
}

void UserDefaults::setString(const QString &key, const QString &value)
{
    if (m_settings)
        m_settings->setValue(key, value);
}
