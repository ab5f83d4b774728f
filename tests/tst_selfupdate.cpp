#include "codesign/bundlesignatureverifier.h"
#include "harness/bundlefactory.h"
#include "harness/storemachine.h"
#include "platform/bundle.h"
#include "platform/runningapplications.h"
#include "selfupdate/storeupdatecheck.h"
#include "selfupdate/storeupdateinstall.h"
#include "selfupdate/storeupdatepreferences.h"
#include "support/waitforresult.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using Kind = InstallFailure::Kind;
using CheckResult = Expected<std::optional<AppcastRelease>, AppcastFetch::Failure>;

// What a test does to the store's feed, the release or the server before the store looks.
using Publish = std::function<void(StorePublication &store, ReleaseFactory &releases, TestServer &server)>;
Q_DECLARE_METATYPE(Publish)
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(std::optional<AppcastFetch::Failure>)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(std::optional<QDateTime>)

namespace {

// Every path below the folder with its bytes (or a link's target): equal digests, equal trees.
QByteArray treeDigest(const QString &folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString &path : std::as_const(paths)) {
        hash.addData(path.toUtf8());
        const QFileInfo info(path);
        if (info.isSymLink()) {
            hash.addData(info.symLinkTarget().toUtf8());
        } else if (info.isFile()) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            hash.addData(file.readAll());
        }
    }
    return hash.result();
}

} // namespace

class SelfUpdateTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StoreMachine> m_machine;
    std::shared_ptr<BundleSignatureVerifier> m_verifier;

    CheckResult check(const QString &runningBuild) const
    {
        return waitForResult(
            StoreUpdateCheck::check(&m_machine->session, m_machine->store.feed(), runningBuild, {6, 1, 0}));
    }

    Expected<QString, InstallFailure> install(const AppcastRelease &release) const
    {
        const CodeSignatureResult<QString> team = m_verifier->team(m_machine->store.running());
        if (!team)
            qFatal("the running test store is not signed");
        return waitForResult(StoreUpdateInstall::install(&m_machine->session, m_verifier, m_machine->store.running(),
                                                         *team, m_machine->releases.archivePublicKey(), release,
                                                         m_machine->temporary(), [](double) {}));
    }

    QStringList workFolders() const
    {
        return QDir(m_machine->temporary())
            .entryList({QStringLiteral("tessel-store-*")}, QDir::AllEntries | QDir::Hidden);
    }

private Q_SLOTS:
    void init()
    {
        m_machine = std::make_unique<StoreMachine>();
        m_verifier = std::make_shared<BundleSignatureVerifier>(m_machine->releases.anchors());
    }

    void aNewerReleaseIsFoundPutInPlaceAndStarts()
    {
        m_machine->store.publish(QStringLiteral("1.1"), QStringLiteral("110"),
                                 m_machine->store.release(QStringLiteral("1.1"), QStringLiteral("110")), std::nullopt,
                                 QStringLiteral("<p>Faster checks.</p>"));
        const CheckResult found = check(QStringLiteral("100"));
        QVERIFY(found && found.value());
        const AppcastRelease release = *found.value();
        QCOMPARE(release.shortVersion, QStringLiteral("1.1"));
        QCOMPARE(release.releaseNotes, std::optional<QString>(QStringLiteral("<p>Faster checks.</p>")));

        const Expected<QString, InstallFailure> installed = install(release);
        QVERIFY2(installed, installed ? "" : qPrintable(installed.error().detail));
        QCOMPARE(installed.value(), m_machine->store.running());
        QCOMPARE(Bundle::at(m_machine->store.running()).string(QStringLiteral("CFBundleVersion")),
                 QStringLiteral("110"));
        QVERIFY(m_verifier->team(m_machine->store.running()));
        // The old copy is gone, and nothing of the install is left beside the new one or in
        // the temporary folder.
        QCOMPARE(QDir(m_machine->applications()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Tessel Store.app")});
        QCOMPARE(workFolders(), QStringList());
        QVERIFY(ProcessTable().launch(m_machine->store.running()));
        QTRY_COMPARE_WITH_TIMEOUT(m_machine->releases.launches(), QByteArray("110\n"), 5000);
    }

    void checkOutcomes_data()
    {
        QTest::addColumn<Publish>("publish");
        QTest::addColumn<QString>("found"); // the build offered; empty: nothing newer
        QTest::addColumn<std::optional<AppcastFetch::Failure>>("failure");

        const auto announce = [](QString build) {
            return [build](StorePublication &store, ReleaseFactory &, TestServer &) {
                store.publish(build, build, QByteArray("an archive"));
            };
        };
        const std::optional<AppcastFetch::Failure> none;
        QTest::newRow("newer") << Publish(announce(QStringLiteral("100.1"))) << "100.1" << none;
        QTest::newRow("the same build") << Publish(announce(QStringLiteral("100"))) << "" << none;
        QTest::newRow("older") << Publish(announce(QStringLiteral("99"))) << "" << none;
        QTest::newRow("only for a newer system") << Publish([](StorePublication &, ReleaseFactory &,
                                                               TestServer &server) {
            server.respond("/store/appcast.xml",
                           HttpResponse::ok("<rss><channel><item><sparkle:version>200</sparkle:version>"
                                            "<sparkle:minimumSystemVersion>99</sparkle:minimumSystemVersion>"
                                            "<enclosure url=\"https://127.0.0.1/s.zip\"/></item></channel></rss>",
                                            "application/rss+xml"));
        }) << "" << none;
        QTest::newRow("no feed") << Publish([](StorePublication &, ReleaseFactory &, TestServer &) {}) << ""
                                 << std::optional(AppcastFetch::Failure::Unreadable);
        QTest::newRow("not XML") << Publish([](StorePublication &, ReleaseFactory &, TestServer &server) {
            server.respond("/store/appcast.xml", HttpResponse::ok("<rss><channel><item>", "application/rss+xml"));
        }) << "" << std::optional(AppcastFetch::Failure::Malformed);
    }

    void checkOutcomes()
    {
        QFETCH(Publish, publish);
        QFETCH(QString, found);
        QFETCH(std::optional<AppcastFetch::Failure>, failure);
        publish(m_machine->store, m_machine->releases, m_machine->server);
        const CheckResult result = check(QStringLiteral("100"));
        QCOMPARE(result ? std::nullopt : std::optional(result.error()), failure);
        if (result)
            QCOMPARE(result.value() ? result.value()->build : QString(), found);
    }

    void refusedReleasesLeaveTheRunningCopy_data()
    {
        QTest::addColumn<Publish>("publish");
        QTest::addColumn<Kind>("kind");

        const QString version = QStringLiteral("1.1");
        const QString build = QStringLiteral("110");
        QTest::newRow("tampered archive")
            << Publish([=](StorePublication &store, ReleaseFactory &releases, TestServer &) {
                   QByteArray archive = store.release(version, build);
                   const QString signature = releases.signature(archive);
                   archive[archive.size() / 2] = char(archive[archive.size() / 2] ^ 0x20);
                   store.publish(version, build, archive, signature);
               })
            << Kind::BadArchiveSignature;
        QTest::newRow("another identifier") << Publish([=](StorePublication &store, ReleaseFactory &, TestServer &) {
            store.publish(version, build, store.release(version, build, QStringLiteral("com.orvel.tessel-other")));
        }) << Kind::WrongApp;
        QTest::newRow("another team") << Publish([=](StorePublication &store, ReleaseFactory &, TestServer &) {
            store.publish(version, build,
                          store.release(version, build, StorePublication::bundleID, QStringLiteral("OTHER67890")));
        }) << Kind::BadCodeSignature;
        QTest::newRow("a build other than announced")
            << Publish([=](StorePublication &store, ReleaseFactory &, TestServer &) {
                   store.publish(version, build, store.release(version, QStringLiteral("109")));
               })
            << Kind::WrongApp;
    }

    void refusedReleasesLeaveTheRunningCopy()
    {
        QFETCH(Publish, publish);
        QFETCH(Kind, kind);
        const QByteArray before = treeDigest(m_machine->applications());
        publish(m_machine->store, m_machine->releases, m_machine->server);
        const CheckResult found = check(QStringLiteral("100"));
        QVERIFY(found && found.value());
        const Expected<QString, InstallFailure> installed = install(*found.value());
        QVERIFY(!installed);
        QCOMPARE(installed.error().kind, kind);
        QCOMPARE(treeDigest(m_machine->applications()), before);
        QCOMPARE(workFolders(), QStringList());
    }

    void theTeamIsTheValidSignersOnly()
    {
        QCOMPARE(m_verifier->team(m_machine->store.running()).value(), QString::fromLatin1(ReleaseFactory::team));
        const QString unsignedBundle =
            BundleFactory::write(m_machine->path(QStringLiteral("Unsigned.app")),
                                 BundleFactory::info(StorePublication::bundleID, QStringLiteral("1.0"), "100"));
        QCOMPARE(m_verifier->team(unsignedBundle).error().kind, CodeSignatureFailure::Kind::Unsigned);
        ReleaseFactory stranger(m_machine->path(QStringLiteral("stranger")));
        const QString foreign = stranger.app(QStringLiteral("Tessel Store"), StorePublication::bundleID, "100");
        QCOMPARE(m_verifier->team(foreign).error().kind, CodeSignatureFailure::Kind::UntrustedSigner);
        // A valid signature over a copy changed since is no one's.
        QFile executable(m_machine->store.running() + QStringLiteral("/Contents/MacOS/app"));
        QVERIFY(executable.open(QIODevice::Append));
        executable.write("# changed\n");
        executable.close();
        QCOMPARE(m_verifier->team(m_machine->store.running()).error().kind, CodeSignatureFailure::Kind::Modified);
    }

    void automaticChecks_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<std::optional<QString>>("stored");
        QTest::addColumn<bool>("checks");

        const QString key = QStringLiteral("SUEnableAutomaticChecks");
        const std::optional<QString> none;
        QTest::newRow("nothing said") << QVariantMap() << none << false;
        QTest::newRow("the bundle turns them on") << QVariantMap{{key, true}} << none << true;
        QTest::newRow("the bundle turns them off") << QVariantMap{{key, false}} << none << false;
        QTest::newRow("a string is no switch") << QVariantMap{{key, QStringLiteral("YES")}} << none << false;
        QTest::newRow("the user's choice over the bundle's")
            << QVariantMap{{key, true}} << std::optional(QStringLiteral("false")) << false;
        QTest::newRow("the user turned them on") << QVariantMap() << std::optional(QStringLiteral("true")) << true;
    }

    void automaticChecks()
    {
        QFETCH(QVariantMap, info);
        QFETCH(std::optional<QString>, stored);
        QFETCH(bool, checks);
        const auto settings = m_machine->defaults();
        if (stored)
            settings->setValue(QStringLiteral("SUEnableAutomaticChecks"), *stored);
        const UserDefaults defaults({QStringLiteral("store")}, settings);
        StoreUpdatePreferences preferences(defaults, info);
        QCOMPARE(preferences.automaticallyChecks(), checks);
        // The choice is kept for the next launch, whatever the bundle says.
        preferences.setAutomaticallyChecks(!checks);
        QCOMPARE(StoreUpdatePreferences(defaults, info).automaticallyChecks(), !checks);
    }

    void aSkippedBuildIsOfferedOnlyWhenAskedFor()
    {
        const auto settings = m_machine->defaults();
        StoreUpdatePreferences preferences(UserDefaults({QStringLiteral("store")}, settings), {});
        AppcastRelease release;
        release.build = QStringLiteral("110");
        QVERIFY(preferences.offers(release, false));
        preferences.skip(release);
        QVERIFY(!preferences.offers(release, false));
        QVERIFY(preferences.offers(release, true));
        release.build = QStringLiteral("111");
        QVERIFY(preferences.offers(release, false));
    }

    void untilNextCheck_data()
    {
        QTest::addColumn<std::optional<QDateTime>>("last");
        QTest::addColumn<qint64>("hours");

        const QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(10, 0), Qt::UTC);
        QTest::newRow("never checked") << std::optional<QDateTime>() << qint64(0);
        QTest::newRow("an hour ago") << std::optional(now.addSecs(-3600)) << qint64(23);
        QTest::newRow("a day ago") << std::optional(now.addDays(-1)) << qint64(0);
        QTest::newRow("a week ago") << std::optional(now.addDays(-7)) << qint64(0);
        QTest::newRow("clock set back") << std::optional(now.addDays(3)) << qint64(24);
    }

    void untilNextCheck()
    {
        QFETCH(std::optional<QDateTime>, last);
        QFETCH(qint64, hours);
        const auto settings = m_machine->defaults();
        StoreUpdatePreferences preferences(UserDefaults({QStringLiteral("store")}, settings), {});
        if (last)
            preferences.setLastCheck(*last);
        // Read back as the next launch would.
        const StoreUpdatePreferences relaunched(UserDefaults({QStringLiteral("store")}, settings), {});
        QCOMPARE(relaunched.lastCheck(), last);
        const QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(10, 0), Qt::UTC);
        QCOMPARE(relaunched.untilNextCheck(now), std::chrono::milliseconds(std::chrono::hours(hours)));
    }
};

QTEST_GUILESS_MAIN(SelfUpdateTest)
#include "tst_selfupdate.moc"
