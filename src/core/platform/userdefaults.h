#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

// The user's defaults: an argument domain ("-section updates" on the command line) read
// first, then the stored settings.
class UserDefaults
{
public:
    // Takes the program's arguments (the program name first) and the stored settings.
    UserDefaults(const QStringList &arguments, std::shared_ptr<QSettings> settings);

    // The process's arguments over the store's settings ("Orvel", "Tessel Store").
    static UserDefaults standard();

    std::optional<QString> string(const QString &key) const;
    void setString(const QString &key, const QString &value);

private:
    QStringList m_arguments;
    std::shared_ptr<QSettings> m_settings;
};
