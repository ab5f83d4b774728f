#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

// One store per user. The first launch owns the store's name on the session bus and answers
// the freedesktop Application interface there; a later launch hands its launch options
// ("section", "openApp", "background") to that store and ends. Without a session bus every launch runs
// on its own.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static inline const QString serviceName = QStringLiteral("com.orvel.TesselStore");
    static inline const QString objectPath = QStringLiteral("/com/orvel/TesselStore");

    enum class Role {
        First,      // this launch is the store; activated() tells of later launches
        HandedOver, // another store took the options: this launch ends
        Alone,      // no bus, or a store that does not answer: this launch runs on its own
    };

    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    // Claims the store's name, or hands the options to the store that holds it.
    Role claim(const QVariantMap &options);

    // Gives the store's name up, so that the store started next (its own new version, as
    // this one ends) is the store rather than handing over to this one.
    void release();

    // The launch options of the arguments ("-section updates", "-openApp lumen", and
    // "background" for a start by the session).
    static QVariantMap launchOptions(const QStringList &arguments);

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);
    Q_SCRIPTABLE void Open(const QStringList &uris, const QVariantMap &platformData);
    Q_SCRIPTABLE void ActivateAction(const QString &action, const QVariantList &parameter,
                                     const QVariantMap &platformData);

Q_SIGNALS:
    // Another launch, or the desktop, asks for the window, with the launch options given.
    void activated(const QVariantMap &options);

private:
    QDBusConnection m_bus;
};
