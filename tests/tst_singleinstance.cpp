#include "app/desktop/singleinstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// One store per user, on a session bus of the test's own: the first launch keeps the name,
// a later one hands over its options and ends.
class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    // Each launch is another process with a connection of its own.
    static QDBusConnection connection(const QString &name)
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run on a session bus: dbus-run-session");
    }

    void aSecondLaunchHandsItsOptionsToTheFirst()
    {
        SingleInstance first(connection(QStringLiteral("first")));
        QCOMPARE(first.claim({}), SingleInstance::Role::First);
        QSignalSpy activated(&first, &SingleInstance::activated);

        SingleInstance second(connection(QStringLiteral("second")));
        const QVariantMap options = SingleInstance::launchOptions(
            {QStringLiteral("store"), QStringLiteral("-section"), QStringLiteral("updates"), QStringLiteral("-openApp"),
             QStringLiteral("lumen"), QStringLiteral("-other"), QStringLiteral("x")});
        QCOMPARE(second.claim(options), SingleInstance::Role::HandedOver);
        QTRY_COMPARE(activated.count(), 1);
        const QVariantMap received = activated.constFirst().constFirst().toMap();
        QCOMPARE(received.value(QStringLiteral("section")).toString(), QStringLiteral("updates"));
        QCOMPARE(received.value(QStringLiteral("openApp")).toString(), QStringLiteral("lumen"));
        QVERIFY(!received.contains(QStringLiteral("other")));

        // Once the first is gone, the next launch is the store.
        connection(QStringLiteral("first")).interface()->unregisterService(SingleInstance::serviceName);
        QDBusConnection::disconnectFromBus(QStringLiteral("first"));
        SingleInstance third(connection(QStringLiteral("third")));
        QTRY_COMPARE(third.claim({}), SingleInstance::Role::First);
        QDBusConnection::disconnectFromBus(QStringLiteral("third"));
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
    }

    // A store that gives its name up while it still runs (it is starting its own new version)
    // leaves the next launch to be the store, not to hand over to it.
    void aReleasedNameGoesToTheNextLaunch()
    {
        SingleInstance old(connection(QStringLiteral("old")));
        QCOMPARE(old.claim({}), SingleInstance::Role::First);
        old.release();
        QSignalSpy activated(&old, &SingleInstance::activated);
        SingleInstance next(connection(QStringLiteral("next")));
        QCOMPARE(next.claim({}), SingleInstance::Role::First);
        QCOMPARE(activated.count(), 0);
        QDBusConnection::disconnectFromBus(QStringLiteral("next"));
        QDBusConnection::disconnectFromBus(QStringLiteral("old"));
    }

    // What the desktop may send: an action to show a section, and options of the wrong kind.
    void theDesktopsCallsAreAnswered()
    {
        SingleInstance store(connection(QStringLiteral("store")));
        QCOMPARE(store.claim({}), SingleInstance::Role::First);
        QSignalSpy activated(&store, &SingleInstance::activated);
        QDBusConnection desktop = connection(QStringLiteral("desktop"));
        const auto call = [&desktop](const QString &method, const QVariantList &arguments) {
            QDBusMessage message =
                QDBusMessage::createMethodCall(SingleInstance::serviceName, SingleInstance::objectPath,
                                               QStringLiteral("org.freedesktop.Application"), method);
            message.setArguments(arguments);
            return desktop.call(message, QDBus::BlockWithGui);
        };

        QCOMPARE(call(QStringLiteral("ActivateAction"),
                      {QStringLiteral("show-section"), QVariantList{QStringLiteral("myApps")}, QVariantMap()})
                     .type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(call(QStringLiteral("Activate"), {QVariantMap{{QStringLiteral("section"), 7}}}).type(),
                 QDBusMessage::ReplyMessage);
        QTRY_COMPARE(activated.count(), 2);
        QCOMPARE(activated.at(0).constFirst().toMap().value(QStringLiteral("section")).toString(),
                 QStringLiteral("myApps"));
        QVERIFY(activated.at(1).constFirst().toMap().isEmpty());
        QDBusConnection::disconnectFromBus(QStringLiteral("store"));
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    }

    void withoutABusEveryLaunchRunsAlone()
    {
        SingleInstance alone(QDBusConnection(QStringLiteral("never connected")));
        QCOMPARE(alone.claim({}), SingleInstance::Role::Alone);
    }

    // The real program: launched again, it hands over and ends at once.
    void theStoreLaunchedTwice()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(TESSEL_BIN_DIR "/tessel-store"), {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered(SingleInstance::serviceName), 10000);

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral(TESSEL_BIN_DIR "/tessel-store"),
                     {QStringLiteral("-section"), QStringLiteral("updates")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
