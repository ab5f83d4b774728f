#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "install/installedcopies.h"
#include "platform/bundle.h"
#include "platform/desktopentryregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using PropertyList::Format;

namespace {

const QString lumenID = QStringLiteral("com.orvel.lumen");

CatalogApp lumen()
{
    CatalogApp app;
    app.productID = QStringLiteral("lumen");
    app.bundleID = lumenID;
    return app;
}

// A registry that knows exactly the bundles it is told about.
class ListedRegistry : public AppRegistry
{
public:
    QHash<QString, QStringList> applicationsOf(const QSet<QString> &bundleIDs) const override
    {
        ++lookups;
        QHash<QString, QStringList> found;
        for (const QString &id : bundleIDs) {
            if (m_bundles.contains(id))
                found.insert(id, m_bundles.value(id));
        }
        return found;
    }
    bool registerApplication(const QString &bundlePath) override
    {
        const std::optional<QVariantMap> info = Bundle::at(bundlePath).infoDictionary();
        if (!info)
            return false;
        m_bundles[info->value(QStringLiteral("CFBundleIdentifier")).toString()].append(bundlePath);
        return true;
    }

    mutable int lookups = 0;

private:
    QMap<QString, QStringList> m_bundles;
};

} // namespace

class InstalledCopiesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    Locations m_locations;
    ListedRegistry m_registry;

    QString system(const QString &relative) const { return m_locations.systemApplications + u'/' + relative; }
    QString user(const QString &relative) const { return m_locations.userApplications() + u'/' + relative; }

    QString bundle(const QString &path, const QString &build, const QString &id = lumenID, Format format = Format::XML)
    {
        return BundleFactory::write(path, BundleFactory::info(id, QStringLiteral("v") + build, build), format);
    }

    std::optional<InstalledApp> installed() { return InstalledCopies(m_locations, &m_registry).installed(lumen()); }

private Q_SLOTS:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_locations = Locations::under(m_root->path());
        m_registry = ListedRegistry();
    }

    void systemFolderBeatsUserFolderWhateverTheBuild()
    {
        bundle(system(QStringLiteral("Lumen.app")), QStringLiteral("100"));
        bundle(user(QStringLiteral("Lumen.app")), QStringLiteral("200"), lumenID, Format::Binary);
        QCOMPARE(installed()->url, system(QStringLiteral("Lumen.app")));
        QCOMPARE(installed()->build, QStringLiteral("100"));
        QCOMPARE(InstalledCopies(m_locations, &m_registry).find(lumen()).size(), 2);
    }

    void higherBuildWinsWithinOneFolder()
    {
        bundle(system(QStringLiteral("Lumen.app")), QStringLiteral("100"));
        m_registry.registerApplication(bundle(system(QStringLiteral("Tools/Lumen.app")), QStringLiteral("101")));
        QCOMPARE(installed()->url, system(QStringLiteral("Tools/Lumen.app")));
    }

    void copiesOutsideTheApplicationsFoldersNeverCount()
    {
        m_registry.registerApplication(
            bundle(m_locations.home + QStringLiteral("/Downloads/Lumen.app"), QStringLiteral("9")));
        m_registry.registerApplication(
            bundle(m_root->filePath(QStringLiteral("Volumes/Disk/Lumen.app")), QStringLiteral("9")));
        // A prefix that only looks like the folder is another folder.
        m_registry.registerApplication(
            bundle(m_locations.systemApplications + QStringLiteral("Old/Lumen.app"), QStringLiteral("9")));
        QCOMPARE(installed(), std::nullopt);
    }

    void readsBundlesAsTheyAre()
    {
        BundleFactory::write(system(QStringLiteral("Lumen.app")),
                             BundleFactory::info(lumenID, QString(), QStringLiteral("7")));
        QCOMPARE(installed(), (InstalledApp{system(QStringLiteral("Lumen.app")), QString(), QStringLiteral("7")}));

        QVariantMap numericVersion = BundleFactory::info(lumenID, QString(), QString());
        numericVersion.insert(QStringLiteral("CFBundleVersion"), qint64(8));
        BundleFactory::write(system(QStringLiteral("Lumen.app")), numericVersion);
        QCOMPARE(installed()->build, QString());
    }

    void unreadableBundlesAreLeftOut()
    {
        QDir().mkpath(system(QStringLiteral("NoInfo.app/Contents")));
        writeTestFile(system(QStringLiteral("Array.app/Contents/Info.plist")),
                      PropertyList::serialize(QVariantList{lumenID}, Format::XML));
        writeTestFile(system(QStringLiteral("Garbage.app/Contents/Info.plist")), "garbage");
        m_registry.registerApplication(system(QStringLiteral("NoInfo.app")));
        QCOMPARE(installed(), std::nullopt);
        QCOMPARE(InstalledApp::at(system(QStringLiteral("Array.app"))), std::nullopt);
    }

    void listingTakesLowerCaseAppOnly()
    {
        bundle(system(QStringLiteral("Lumen.APP")), QStringLiteral("1"));
        bundle(system(QStringLiteral(".app")), QStringLiteral("1"));
        QCOMPARE(installed(), std::nullopt);
        m_registry.registerApplication(system(QStringLiteral("Lumen.APP")));
        QCOMPARE(installed()->url, system(QStringLiteral("Lumen.APP")));
    }

    void hiddenEntriesAreListed()
    {
        bundle(user(QStringLiteral(".Lumen.app")), QStringLiteral("3"));
        QCOMPARE(installed()->url, user(QStringLiteral(".Lumen.app")));
    }

    void otherIdentifiersAreIgnored()
    {
        bundle(system(QStringLiteral("Lumen.app")), QStringLiteral("1"), QStringLiteral("com.other.lumen"));
        bundle(user(QStringLiteral("Lumen.app")), QStringLiteral("1"), QStringLiteral("COM.ORVEL.LUMEN"));
        QCOMPARE(installed(), std::nullopt);
    }

    void manyAppsAreFoundInOneLookAtTheDisk()
    {
        CatalogApp quire{.productID = QStringLiteral("quire"), .bundleID = QStringLiteral("com.orvel.quire")};
        CatalogApp cadence{.productID = QStringLiteral("cadence"), .bundleID = QStringLiteral("com.orvel.cadence")};
        bundle(system(QStringLiteral("Lumen.app")), QStringLiteral("4"));
        bundle(user(QStringLiteral("Lumen.app")), QStringLiteral("6"));
        m_registry.registerApplication(
            bundle(user(QStringLiteral("Tools/Quire.app")), QStringLiteral("2"), quire.bundleID));
        m_registry.registerApplication(
            bundle(m_locations.home + QStringLiteral("/Downloads/Cadence.app"), QStringLiteral("1"), cadence.bundleID));

        // Listed under Lumen, but the bundle there is Quire's now: a stale entry, no copy of either.
        const QString stale = user(QStringLiteral("Old/Lumen.app"));
        m_registry.registerApplication(bundle(stale, QStringLiteral("9")));
        bundle(stale, QStringLiteral("9"), quire.bundleID);

        const InstalledCopies copies(m_locations, &m_registry);
        const QHash<QString, QList<InstalledApp>> found = copies.find({lumen(), quire, cadence});
        QCOMPARE(m_registry.lookups, 1);
        QCOMPARE(found.value(QStringLiteral("lumen")).size(), 2);
        QCOMPARE(found.value(QStringLiteral("quire")).size(), 1);
        QCOMPARE(found.value(QStringLiteral("cadence")).size(), 1);

        // The one to use of each, as when asked one by one; a copy outside the folders is none.
        const QHash<QString, InstalledApp> chosen = copies.installed({lumen(), quire, cadence});
        QCOMPARE(chosen.keys().size(), 2);
        QCOMPARE(chosen.value(QStringLiteral("lumen")), *copies.installed(lumen()));
        QCOMPARE(chosen.value(QStringLiteral("quire")).url, user(QStringLiteral("Tools/Quire.app")));
        QVERIFY(!chosen.contains(QStringLiteral("cadence")));
    }

    void sameBundleThroughListingAndRegistryIsOneCopy()
    {
        const QString path = bundle(system(QStringLiteral("Lumen.app")), QStringLiteral("5"));
        m_registry.registerApplication(m_locations.systemApplications + QStringLiteral("/./Tools/../Lumen.app"));
        QCOMPARE(installed(), (InstalledApp{path, QStringLiteral("v5"), QStringLiteral("5")}));
    }

    void needsUpdate_data()
    {
        QTest::addColumn<QString>("installedBuild");
        QTest::addColumn<QString>("releaseBuild");
        QTest::addColumn<bool>("needed");
        QTest::newRow("newer release") << "120"
                                       << "121" << true;
        QTest::newRow("same build") << "120"
                                    << "120" << false;
        QTest::newRow("same build, longer text") << "120"
                                                 << "120.0" << false;
        QTest::newRow("older release") << "120"
                                       << "119" << false;
        QTest::newRow("empty installed build") << ""
                                               << "1" << true;
    }

    void needsUpdate()
    {
        QFETCH(QString, installedBuild);
        QFETCH(QString, releaseBuild);
        QFETCH(bool, needed);
        // Short versions that disagree with the builds must not matter.
        const InstalledApp copy{QStringLiteral("/x.app"), QStringLiteral("9.9"), installedBuild};
        AppcastRelease release;
        release.build = releaseBuild;
        release.shortVersion = QStringLiteral("0.1");
        QCOMPARE(::needsUpdate(copy, release), needed);
    }

    void desktopEntriesRegisterAndFindBundles()
    {
        DesktopEntryRegistry registry(m_locations);
        const QString odd = bundle(user(QStringLiteral("Lumen \"Pro\" $HOME\\x.app")), QStringLiteral("4"));
        QVERIFY(registry.registerApplication(odd));
        QCOMPARE(registry.applications(lumenID), QStringList{odd});
        QCOMPARE(registry.applications(QStringLiteral("com.orvel")), QStringList());

        QFile entry(registry.entryPath(lumenID));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.contains("Exec=\"") && text.contains("\\\\\"Pro\\\\\" \\\\$HOME"));

        // A system-wide entry counts too; entries of other programs are passed over.
        writeTestFile(m_locations.dataDirs.first() + QStringLiteral("/applications/vendor-lumen.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Lumen\nX-Tessel-BundleIdentifier=com.orvel.lumen\n"
                      "X-Tessel-BundlePath=/opt/Lumen.app\n[Desktop Action x]\nX-Tessel-BundlePath=/elsewhere\n");
        writeTestFile(m_locations.dataDirs.first() + QStringLiteral("/applications/gedit.desktop"),
                      "[Desktop Entry]\nType=Application\nName=Text\n");
        QCOMPARE(registry.applications(lumenID), (QStringList{odd, QStringLiteral("/opt/Lumen.app")}));
        QCOMPARE(InstalledCopies(m_locations, &registry).installed(lumen())->url, odd);
    }

    void registeringNeedsAnIdentifierAndAnExecutable()
    {
        DesktopEntryRegistry registry(m_locations);
        QVariantMap info = BundleFactory::info(lumenID, QString(), QStringLiteral("1"));
        info.remove(QStringLiteral("CFBundleExecutable"));
        QVERIFY(!registry.registerApplication(BundleFactory::write(user(QStringLiteral("Lumen.app")), info)));
        QVERIFY(!registry.registerApplication(user(QStringLiteral("Missing.app"))));
    }
};

QTEST_GUILESS_MAIN(InstalledCopiesTest)
#include "tst_installedcopies.moc"
