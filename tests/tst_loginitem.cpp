#include "app/desktop/storemenuentry.h"
#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "platform/desktopentry.h"
#include "platform/desktopentryregistry.h"
#include "platform/loginitem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The store's own entries on the desktop: starting with the session, and its place in the
// application menu, read back as the desktop would read them.
class LoginItemTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_bundle;

    QString autostart() const { return m_folder->filePath(QStringLiteral("config/autostart")); }
    QString storeBundle(const QString &name) const
    {
        return BundleFactory::write(m_folder->filePath(name),
                                    BundleFactory::info(QStringLiteral("com.orvel.tessel-store"), QStringLiteral("1.0"),
                                                        QStringLiteral("100")));
    }
    // The entry with one key replaced, as the desktop's own settings would change it.
    void rewrite(const LoginItem &item, const QByteArray &key, const QString &value) const
    {
        QFile file(item.entryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray contents = file.readAll();
        file.close();
        contents.append(key + '=' + value.toUtf8() + '\n');
        writeTestFile(item.entryPath(), contents);
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        // Characters the launcher treats specially, in the path it must start.
        m_bundle = storeBundle(QStringLiteral("My $HOME 100% \"Apps\"/Tessel Store.app"));
    }

    void turnsOnAndOffThroughItsEntry()
    {
        LoginItem item(autostart(), m_bundle);
        QVERIFY(!item.isEnabled());
        QCOMPARE(item.setEnabled(true), std::nullopt);
        QVERIFY(item.isEnabled());
        QCOMPARE(item.entryPath(), autostart() + QStringLiteral("/com.orvel.tessel-store.desktop"));
        const QHash<QByteArray, QString> keys = DesktopEntry::read(item.entryPath());
        QCOMPARE(keys.value(DesktopEntry::pathKey), m_bundle);
        QCOMPARE(keys.value("Exec"),
                 QStringLiteral("\"%1/Contents/MacOS/app\" \"--background\"")
                     .arg(m_folder->filePath(QStringLiteral("My \\$HOME 100%% \\\"Apps\\\"/Tessel Store.app"))));
        QCOMPARE(item.setEnabled(false), std::nullopt);
        QVERIFY(!item.isEnabled());
        QVERIFY(!QFile::exists(item.entryPath()));
        QCOMPARE(item.setEnabled(false), std::nullopt); // already off
    }

    void anEntryTheDesktopTurnedOffIsOff_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("hidden") << QByteArray("Hidden") << QStringLiteral("true") << false;
        QTest::newRow("turned off") << QByteArray("X-GNOME-Autostart-enabled") << QStringLiteral("false") << false;
        QTest::newRow("not hidden") << QByteArray("Hidden") << QStringLiteral("false") << true;
    }

    void anEntryTheDesktopTurnedOffIsOff()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, value);
        QFETCH(bool, enabled);
        LoginItem item(autostart(), m_bundle);
        QCOMPARE(item.setEnabled(true), std::nullopt);
        rewrite(item, key, value);
        QCOMPARE(item.isEnabled(), enabled);
        // Turning it on again makes it this store's entry as written.
        QCOMPARE(item.setEnabled(true), std::nullopt);
        QVERIFY(item.isEnabled());
    }

    // Another copy of the store owns the entry: this one is not started, and leaves it alone.
    void anotherCopysEntryIsNotThisOnes()
    {
        LoginItem other(autostart(), storeBundle(QStringLiteral("elsewhere/Tessel Store.app")));
        QCOMPARE(other.setEnabled(true), std::nullopt);
        LoginItem item(autostart(), m_bundle);
        QVERIFY(!item.isEnabled());
        QCOMPARE(item.setEnabled(false), std::nullopt);
        QVERIFY(other.isEnabled());
    }

    void failuresSayWhere()
    {
        writeTestFile(autostart(), "a file where the folder should be");
        LoginItem item(autostart(), m_bundle);
        const std::optional<QString> failure = item.setEnabled(true);
        QVERIFY(failure);
        QVERIFY2(failure->startsWith(QStringLiteral("could not write ") + autostart()), qPrintable(*failure));
        QVERIFY(!item.isEnabled());

        LoginItem nothing(autostart(), m_folder->filePath(QStringLiteral("missing.app")));
        QVERIFY(nothing.setEnabled(true)->contains(QStringLiteral("names no identifier or executable")));
    }

    // The store in the application menu, started over the session bus by its name there, and
    // found by the same register that finds the apps it installs.
    void storeMenuEntry()
    {
        const Locations locations = Locations::under(m_folder->filePath(QStringLiteral("machine")));
        QVERIFY(StoreMenuEntry::registerBundle(locations, m_bundle, QStringLiteral("store-symbolic"), "<svg/>"));
        const QHash<QByteArray, QString> entry = DesktopEntry::read(StoreMenuEntry::entryPath(locations));
        QCOMPARE(entry.value("DBusActivatable"), QStringLiteral("true"));
        QCOMPARE(entry.value("Name"), QStringLiteral("tessel-store"));
        QVERIFY(StoreMenuEntry::entryPath(locations).endsWith(QStringLiteral("/com.orvel.TesselStore.desktop")));
        QFile service(StoreMenuEntry::busServicePath(locations));
        QVERIFY(service.open(QIODevice::ReadOnly));
        const QByteArray contents = service.readAll();
        // The bus's quoting, which knows no field codes: only the shell's specials are escaped.
        QCOMPARE(contents,
                 "[D-BUS Service]\nName=com.orvel.TesselStore\nExec=\"" +
                     m_folder->filePath(QStringLiteral("My \\$HOME 100% \\\"Apps\\\"/Tessel Store.app")).toUtf8() +
                     "/Contents/MacOS/app\"\n");
        QFile icon(StoreMenuEntry::symbolicIconPath(locations, QStringLiteral("store-symbolic")));
        QVERIFY(icon.open(QIODevice::ReadOnly));
        QCOMPARE(icon.readAll(), QByteArray("<svg/>"));
        QCOMPARE(DesktopEntryRegistry(locations).applications(QStringLiteral("com.orvel.tessel-store")),
                 QStringList{m_bundle});
        QVERIFY(!StoreMenuEntry::registerBundle(locations, m_folder->filePath(QStringLiteral("missing.app")),
                                                QStringLiteral("store-symbolic"), "<svg/>"));
    }
};

QTEST_GUILESS_MAIN(LoginItemTest)
#include "tst_loginitem.moc"
