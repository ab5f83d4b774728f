#include "codesign/bundlesignatureverifier.h"
#include "harness/appshelf.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "harness/testserver.h"
#include "install/archivedownload.h"
#include "install/archivesignature.h"
#include "install/installer.h"
#include "support/waitforresult.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace CatalogFixtures;
using Kind = InstallFailure::Kind;

namespace {

const QString downloadFailed = QStringLiteral("The download did not finish. Check your connection and try again.");
const QString securityFailed =
    QStringLiteral("This download did not pass the security check, so it was not installed.");
const QString cannotOpen = QStringLiteral("The download could not be opened.");
const QString cannotReplace =
    QStringLiteral("The app could not be replaced. Quit it and try again, or update it from the app itself.");

// A limit on the size of the files this process writes, for as long as it lives; writes past
// it fail (with SIGXFSZ ignored) instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        const rlimit limit{bytes, m_previous.rlim_max};
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_previous{};
    void (*m_signal)(int) = SIG_DFL;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList workFolders(const QString &temporary)
{
    return QDir(temporary).entryList({QStringLiteral("tessel-store-*")}, QDir::AllEntries | QDir::Hidden);
}

// A registry under which something happens on the machine as an app is registered.
class RegistryWithArrival : public AppRegistry
{
public:
    RegistryWithArrival(std::shared_ptr<AppRegistry> registry, std::function<void()> arrival)
        : m_registry(std::move(registry)), m_arrival(std::move(arrival))
    {}

    QHash<QString, QStringList> applicationsOf(const QSet<QString> &bundleIDs) const override
    {
        return m_registry->applicationsOf(bundleIDs);
    }
    bool registerApplication(const QString &bundlePath) override
    {
        m_arrival();
        return m_registry->registerApplication(bundlePath);
    }

private:
    std::shared_ptr<AppRegistry> m_registry;
    std::function<void()> m_arrival;
};

} // namespace

// How a scenario changes what the maker publishes; it may change the machine too, given the
// path of the copy already installed.
using Setup = std::function<void(Publication &publication, const QString &copy)>;
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(InstallFailure::Kind)

class InstallationTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ModelFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ReleaseFactory> m_releases;
    std::unique_ptr<AppShelf> m_shelf;

    const Locations &locations() const { return m_fixture->environment.locations; }

    Publication zipped(const QString &id, const QString &build) { return m_shelf->zipped(id, build); }
    void publish(const QList<Publication> &publications) { m_shelf->publish(publications); }
    QString preinstall(const QString &id, const QString &build, const QString &folder,
                       const std::optional<QByteArray> &executable = {})
    {
        return m_shelf->preinstall(id, build, folder, executable);
    }
    std::unique_ptr<StoreModel> loadedModel() { return AppShelf::loadedModel(*m_fixture); }
    static CatalogApp appNamed(const StoreModel &model, const QString &id) { return AppShelf::appNamed(model, id); }

    // The installer the model uses, over the fixture's machine as it is now.
    Installer installer() const
    {
        const StoreEnvironment &environment = m_fixture->environment;
        return Installer(environment.locations, environment.registry.get(), environment.session, environment.verifier);
    }

    // What of the store's own making lies in the Applications folders.
    QStringList storeEntries() const
    {
        QStringList entries;
        for (const QString &folder : locations().applicationsFolders()) {
            for (const QString &entry :
                 QDir(folder).entryList({QStringLiteral(".tessel-*")}, QDir::AllEntries | QDir::Hidden | QDir::System))
                entries.append(folder + u'/' + entry);
        }
        return entries;
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_folder = std::make_unique<QTemporaryDir>();
        m_releases = std::make_unique<ReleaseFactory>(m_folder->path());
        m_shelf = std::make_unique<AppShelf>(m_signer, *m_server, *m_releases);
        m_fixture = std::make_unique<ModelFixture>(m_signer, m_server->url());
        m_fixture->environment.verifier = std::make_shared<BundleSignatureVerifier>(m_releases->anchors());
        m_fixture->environment.runningApplications = std::make_shared<ProcessTable>();
        QDir().mkpath(locations().temporary);
    }

    void firstInstallLandsInTheFirstFolderAndLaunches()
    {
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QSignalSpy jobs(model.get(), &StoreModel::jobsChanged);
        const CatalogApp lumen = appNamed(*model, QStringLiteral("lumen"));
        QCoro::waitFor(model->install(lumen));
        QVERIFY(model->jobs().isEmpty());
        const InstalledApp copy = model->installed().value(QStringLiteral("lumen"));
        QCOMPARE(copy.url, locations().systemApplications + QStringLiteral("/lumen.app"));
        QCOMPARE(copy.build, QStringLiteral("320"));
        QVERIFY(QFileInfo(copy.url + QStringLiteral("/Contents/MacOS/app")).isExecutable());
        QVERIFY(QFileInfo(copy.url + QStringLiteral("/Contents/Resources/readme.txt")).isSymLink());
        QTRY_COMPARE_WITH_TIMEOUT(m_releases->launches(), QByteArray("320\n"), 5000);
        QCOMPARE(workFolders(locations().temporary), QStringList());
        QVERIFY(!m_fixture->environment.registry->applications(QStringLiteral("com.orvel.lumen")).isEmpty());
        QVERIFY(jobs.count() >= 2);
    }

    void updateReplacesTheCopyWhereItIsWithoutLaunching()
    {
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().userApplications());
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCOMPARE(model->updates().size(), 1);
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QVERIFY(model->jobs().isEmpty());
        QCOMPARE(model->installed().value(QStringLiteral("lumen")),
                 (InstalledApp{copy, QStringLiteral("320"), QStringLiteral("320")}));
        QVERIFY(!QFileInfo::exists(locations().systemApplications + QStringLiteral("/lumen.app")));
        QTest::qWait(300);
        QCOMPARE(m_releases->launches(), QByteArray());
        QVERIFY(model->updates().isEmpty());
    }

    // Beside another app in one archive, the catalog's is the one installed, whatever the order.
    void theCatalogsAppIsTakenFromAnArchiveOfSeveral()
    {
        const QString other =
            m_releases->app(QStringLiteral("aaa"), QStringLiteral("com.orvel.quire"), QStringLiteral("320"));
        const QString lumen =
            m_releases->app(QStringLiteral("lumen"), QStringLiteral("com.orvel.lumen"), QStringLiteral("320"));
        Publication publication = zipped(QStringLiteral("lumen"), QStringLiteral("320"));
        publication.archive =
            ReleaseFactory::zip(ReleaseFactory::zipEntries(other) + ReleaseFactory::zipEntries(lumen));
        publication.signature = m_releases->signature(publication.archive);
        publish({publication});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QVERIFY(model->jobs().isEmpty());
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).url,
                 locations().systemApplications + QStringLiteral("/lumen.app"));
        QVERIFY(!QFileInfo::exists(locations().systemApplications + QStringLiteral("/aaa.app")));
    }

    void updateOfARunningAppQuitsItAndRelaunches()
    {
        QFile sleepBinary(QStringLiteral("/bin/sleep"));
        QVERIFY(sleepBinary.open(QIODevice::ReadOnly));
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().systemApplications,
                                        sleepBinary.readAll());
        QProcess running;
        running.start(copy + QStringLiteral("/Contents/MacOS/app"), {QStringLiteral("600")});
        QVERIFY(running.waitForStarted());
        QTRY_VERIFY(!ProcessTable().find(QStringLiteral("com.orvel.lumen")).isEmpty());

        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QVERIFY(model->jobs().isEmpty());
        QCOMPARE(running.state(), QProcess::NotRunning);
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).build, QStringLiteral("320"));
        QTRY_COMPARE_WITH_TIMEOUT(m_releases->launches(), QByteArray("320\n"), 5000);
    }

    // A copy that ignores the polite quit holds the install up for the bound only; the
    // install goes on and the copy is left to the user. Without a known release nothing is
    // asked to quit at all: a copy that would quit keeps running.
    void runningCopyIsAskedToQuitOnlyForAKnownRelease_data()
    {
        QTest::addColumn<bool>("published");
        // When published, the copy ignores SIGTERM; when not, it would quit on it.
        QTest::newRow("copy ignores the quit") << true;
        QTest::newRow("no known release") << false;
    }
    void runningCopyIsAskedToQuitOnlyForAKnownRelease()
    {
        QFETCH(bool, published);
        QFile sleepBinary(QStringLiteral("/bin/sleep"));
        QVERIFY(sleepBinary.open(QIODevice::ReadOnly));
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().systemApplications,
                                        sleepBinary.readAll());
        // An ignored signal stays ignored across exec, so the app itself ignores SIGTERM.
        QProcess running;
        const QString trap = published ? QStringLiteral("trap '' TERM; ") : QString();
        running.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), trap + QStringLiteral("exec \"$0\" 600"),
                                                  copy + QStringLiteral("/Contents/MacOS/app")});
        QVERIFY(running.waitForStarted());
        QTRY_VERIFY(!ProcessTable().find(QStringLiteral("com.orvel.lumen")).isEmpty());
        auto stop = qScopeGuard([&running] {
            running.kill();
            running.waitForFinished();
        });

        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        if (!published)
            m_server->respond("/feeds/lumen.xml", HttpResponse::notFound());
        const auto model = loadedModel();
        QElapsedTimer timer;
        timer.start();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QCOMPARE(running.state(), QProcess::Running);
        if (published) {
            QVERIFY(model->jobs().isEmpty());
            QVERIFY2(timer.elapsed() >= 4500, "the install did not wait for the copy to quit");
            QCOMPARE(model->installed().value(QStringLiteral("lumen")).build, QStringLiteral("320"));
        } else {
            QCOMPARE(model->jobs().value(QStringLiteral("lumen")).state, Job::State::Failed);
            QCOMPARE(model->installed().value(QStringLiteral("lumen")).build, QStringLiteral("310"));
        }
    }

    void diskImagesKeepModesAndLinks()
    {
        const QString bundle =
            m_releases->app(QStringLiteral("quire"), QStringLiteral("com.orvel.quire"), QStringLiteral("7"));
        const QByteArray image = m_releases->diskImage(bundle);
        publish({{QStringLiteral("quire"), QStringLiteral("7"), QStringLiteral("Quire.dmg"), image,
                  m_releases->signature(image)}});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("quire"))));
        QCOMPARE(model->jobs().value(QStringLiteral("quire")).message, QString());
        const QString installed = model->installed().value(QStringLiteral("quire")).url;
        QVERIFY(QFileInfo(installed + QStringLiteral("/Contents/MacOS/app")).isExecutable());
        QCOMPARE(QFileInfo(installed + QStringLiteral("/Contents/Resources/readme.txt")).symLinkTarget(),
                 installed + QStringLiteral("/Contents/Resources/notes.txt"));
        QCOMPARE(workFolders(locations().temporary), QStringList());
    }

    // Every failure has its kind and reason, shows the kind's sentence, and leaves the
    // installed copy as it was and no work folder.
    void failuresLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("sentence");
        using Entry = ReleaseFactory::ZipEntry;
        const QByteArray app = "#!/bin/sh\n";
        // Hand-made archives, signed as the maker would.
        auto signedArchive = [this](Publication &publication, const QByteArray &archive) {
            publication.archive = archive;
            publication.signature = m_releases->signature(archive);
        };

        QTest::newRow("404 with a body") << Setup([](Publication &publication, const QString &) {
            publication.answer = HttpResponse::notFound();
        }) << Kind::Download << downloadFailed;
        QTest::newRow("body cut short") << Setup([](Publication &publication, const QString &) {
            HttpResponse cut = HttpResponse::ok(publication.archive, "application/zip");
            cut.bodyBytesSent = publication.archive.size() / 2;
            publication.answer = cut;
        }) << Kind::Download << downloadFailed;
        QTest::newRow("206 covering part") << Setup([](Publication &publication, const QString &) {
            HttpResponse part = HttpResponse::ok(publication.archive.left(100), "application/zip");
            part.status = 206;
            part.headers.append({"Content-Range", "bytes 0-99/" + QByteArray::number(publication.archive.size())});
            publication.answer = part;
        }) << Kind::Download << downloadFailed;
        QTest::newRow("not HTTP at all") << Setup([](Publication &publication, const QString &) {
            HttpResponse raw;
            raw.raw = QByteArray("SSH-2.0-OpenSSH_9.2\r\nProtocol mismatch.\r\n");
            publication.answer = raw;
        }) << Kind::Download << downloadFailed;
        QTest::newRow("bad archive signature") << Setup([this](Publication &publication, const QString &) {
            publication.signature = m_releases->signature(publication.archive + 'x');
        }) << Kind::BadArchiveSignature << securityFailed;
        QTest::newRow("no archive signature with a key")
            << Setup([](Publication &publication, const QString &) { publication.signature.reset(); })
            << Kind::BadArchiveSignature << securityFailed;
        QTest::newRow("archive of another app")
            << Setup([this, signedArchive](Publication &publication, const QString &) {
                   signedArchive(publication, ReleaseFactory::zip(m_releases->app(QStringLiteral("lumen"),
                                                                                  QStringLiteral("com.orvel.quire"),
                                                                                  QStringLiteral("320"))));
               })
            << Kind::WrongApp << securityFailed;
        // Genuinely signed, but not the release the feed announced: build 300 for 320.
        QTest::newRow("archive of an older build than announced")
            << Setup([this, signedArchive](Publication &publication, const QString &) {
                   signedArchive(publication, ReleaseFactory::zip(m_releases->app(QStringLiteral("lumen"),
                                                                                  QStringLiteral("com.orvel.lumen"),
                                                                                  QStringLiteral("300"))));
               })
            << Kind::WrongApp << securityFailed;
        QTest::newRow("release older than the installed copy")
            << Setup([this, signedArchive](Publication &publication, const QString &) {
                   publication.build = QStringLiteral("300");
                   signedArchive(publication, ReleaseFactory::zip(m_releases->app(QStringLiteral("lumen"),
                                                                                  QStringLiteral("com.orvel.lumen"),
                                                                                  QStringLiteral("300"))));
               })
            << Kind::WrongApp << securityFailed;
        // Which copy would win depends on the order a file system lists them in.
        QTest::newRow("two copies of the app") << Setup([this, signedArchive](Publication &publication,
                                                                              const QString &) {
            const auto copyOf = [this](const QString &name) {
                return ReleaseFactory::zipEntries(
                    m_releases->app(name, QStringLiteral("com.orvel.lumen"), QStringLiteral("320")));
            };
            signedArchive(publication,
                          ReleaseFactory::zip(copyOf(QStringLiteral("lumen")) + copyOf(QStringLiteral("Lumen Copy"))));
        }) << Kind::WrongApp << securityFailed;
        // As a file system that keeps no modes gives it: the signature holds, but nothing would run.
        QTest::newRow("executable without its mode") << Setup([this, signedArchive](Publication &publication,
                                                                                    const QString &) {
            QList<Entry> entries = ReleaseFactory::zipEntries(
                m_releases->app(QStringLiteral("lumen"), QStringLiteral("com.orvel.lumen"), QStringLiteral("320")));
            for (Entry &entry : entries) {
                if (entry.type == Entry::Type::File)
                    entry.mode &= 0666;
            }
            signedArchive(publication, ReleaseFactory::zip(entries));
        }) << Kind::Extract << cannotOpen;
        QTest::newRow("bad code signature") << Setup([this, signedArchive](Publication &publication, const QString &) {
            const QString bundle =
                m_releases->app(QStringLiteral("lumen"), QStringLiteral("com.orvel.lumen"), QStringLiteral("320"));
            writeTestFile(bundle + QStringLiteral("/Contents/Resources/notes.txt"), "changed after signing");
            signedArchive(publication, ReleaseFactory::zip(bundle));
        }) << Kind::BadCodeSignature << securityFailed;
        QTest::newRow("unknown archive type") << Setup([](Publication &publication, const QString &) {
            publication.file = QStringLiteral("lumen.tar.gz");
        }) << Kind::Extract << cannotOpen;
        QTest::newRow("app in a sub-folder") << Setup([this, signedArchive](Publication &publication, const QString &) {
            signedArchive(publication,
                          ReleaseFactory::zip(m_releases->app(QStringLiteral("lumen"),
                                                              QStringLiteral("com.orvel.lumen"), QStringLiteral("320")),
                                              QStringLiteral("Lumen 3.2/")));
        }) << Kind::NoAppInArchive << cannotOpen;
        QTest::newRow("entry with ..") << Setup([signedArchive, app](Publication &publication, const QString &) {
            signedArchive(publication, ReleaseFactory::zip({{QStringLiteral("lumen.app/Contents/../../../evil"),
                                                             Entry::Type::File, app}}));
        }) << Kind::Extract << cannotOpen;
        QTest::newRow("absolute entry") << Setup([signedArchive, app](Publication &publication, const QString &) {
            signedArchive(publication, ReleaseFactory::zip({{QStringLiteral("/tmp/evil"), Entry::Type::File, app}}));
        }) << Kind::Extract << cannotOpen;
        QTest::newRow("link out of the destination")
            << Setup([signedArchive](Publication &publication, const QString &) {
                   signedArchive(publication, ReleaseFactory::zip({{QStringLiteral("lumen.app/"), Entry::Type::Folder},
                                                                   {QStringLiteral("lumen.app/Contents"),
                                                                    Entry::Type::Link, "../../../../etc"}}));
               })
            << Kind::Extract << cannotOpen;
        // Each link looks harmless as text; "up" makes the second one leave.
        QTest::newRow("link chain out of the destination") << Setup([signedArchive](Publication &publication,
                                                                                    const QString &) {
            signedArchive(
                publication,
                ReleaseFactory::zip({{QStringLiteral("lumen.app/Contents/Resources/"), Entry::Type::Folder},
                                     {QStringLiteral("lumen.app/Contents/Resources/up"), Entry::Type::Link, ".."},
                                     {QStringLiteral("lumen.app/Contents/Resources/esc"), Entry::Type::Link,
                                      "up/Resources/../../../../etc/passwd"}}));
        }) << Kind::Extract << cannotOpen;
        QTest::newRow("disk image without an app") << Setup([this, signedArchive](Publication &publication,
                                                                                  const QString &) {
            QDir().mkpath(m_folder->filePath(QStringLiteral("nothing/Empty")));
            writeTestFile(m_folder->filePath(QStringLiteral("nothing/Empty/readme.txt")), "no app here");
            signedArchive(publication, m_releases->diskImage(m_folder->filePath(QStringLiteral("nothing/Empty"))));
            publication.file = QStringLiteral("lumen.dmg");
        }) << Kind::NoAppInArchive << cannotOpen;
        // The work folder inside the installed copy: the kernel refuses to swap a folder with
        // one inside it, root or not, so the replacement itself fails.
        QTest::newRow("replacement refused") << Setup([this](Publication &, const QString &copy) {
            m_fixture->environment.locations.temporary = copy + QStringLiteral("/Contents/Resources/work");
            QDir().mkpath(locations().temporary);
        }) << Kind::CannotReplace << cannotReplace;
    }

    void failuresLeaveEverythingAsItWas()
    {
        QFETCH(Setup, setup);
        QFETCH(Kind, kind);
        QFETCH(QString, sentence);
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().systemApplications);
        const QByteArray executable = readFile(copy + QStringLiteral("/Contents/MacOS/app"));
        Publication publication = zipped(QStringLiteral("lumen"), QStringLiteral("320"));
        setup(publication, copy);
        publish({publication});
        const auto model = loadedModel();
        const CatalogApp lumen = appNamed(*model, QStringLiteral("lumen"));

        const Expected<QString, InstallFailure> direct =
            waitForResult(installer().install(lumen, model->releases().value(QStringLiteral("lumen")), [](double) {}));
        QVERIFY(!direct);
        QCOMPARE(InstallFailure::name(direct.error().kind), InstallFailure::name(kind));
        QVERIFY(!direct.error().detail.isEmpty());
        QCOMPARE(StoreModel::message(direct.error()), sentence);

        QCoro::waitFor(model->install(lumen));
        const Job job = model->jobs().value(QStringLiteral("lumen"));
        QCOMPARE(job.state, Job::State::Failed);
        QCOMPARE(job.message, sentence);
        QVERIFY(!job.detail.isEmpty());
        QCOMPARE(model->installed().value(QStringLiteral("lumen")),
                 (InstalledApp{copy, QStringLiteral("310"), QStringLiteral("310")}));
        QCOMPARE(readFile(copy + QStringLiteral("/Contents/MacOS/app")), executable);
        QCOMPARE(workFolders(locations().temporary), QStringList());
        QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("evil"))) &&
                !QFile::exists(QStringLiteral("/tmp/evil")));
    }

    // With the work folder on another file system, the bundle is copied across: fresh or
    // replacing, nothing of the copying stays beside the installed apps.
    void installsAcrossFileSystems()
    {
        QTemporaryDir otherFileSystem(QStringLiteral("/dev/shm/tst_installation-XXXXXX"));
        struct stat work;
        struct stat applications;
        if (!otherFileSystem.isValid() || ::stat(QFile::encodeName(otherFileSystem.path()).constData(), &work) != 0 ||
            ::stat(QFile::encodeName(m_folder->path()).constData(), &applications) != 0 ||
            work.st_dev == applications.st_dev)
            QSKIP("no second file system for the work folder");
        m_fixture->environment.locations.temporary = otherFileSystem.path();
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().userApplications());
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320")),
                 zipped(QStringLiteral("quire"), QStringLiteral("20"))});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("quire"))));
        QVERIFY(model->jobs().isEmpty());
        QCOMPARE(model->installed().value(QStringLiteral("lumen")),
                 (InstalledApp{copy, QStringLiteral("320"), QStringLiteral("320")}));
        QCOMPARE(model->installed().value(QStringLiteral("quire")).url,
                 locations().systemApplications + QStringLiteral("/quire.app"));
        QVERIFY(QFileInfo(copy + QStringLiteral("/Contents/MacOS/app")).isExecutable());
        QCOMPARE(storeEntries(), QStringList());
    }

    // What an install killed while copying across file systems left: a staging folder, or a
    // bundle under the names the store once used. None is the installed app, and the next
    // install into the folder removes them.
    void whatADeadInstallLeftIsNeitherTakenNorKept()
    {
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().systemApplications);
        const QString applications = locations().systemApplications;
        QDir().mkpath(applications + QStringLiteral("/.tessel-staging-0AEC5C3E"));
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), copy,
                                                 applications + QStringLiteral("/.tessel-staging-0AEC5C3E/lumen.app")});
        const QString halfMade =
            preinstall(QStringLiteral("lumen"), QStringLiteral("330"), m_folder->filePath(QStringLiteral("made")));
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), halfMade,
                                                 applications + QStringLiteral("/.tessel-6E5A4D8B-9E55-4B7A.app")});
        QCOMPARE(storeEntries().size(), 2);
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCOMPARE(model->installed().value(QStringLiteral("lumen")),
                 (InstalledApp{copy, QStringLiteral("310"), QStringLiteral("310")}));
        QCOMPARE(model->updates().size(), 1);
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QVERIFY(model->jobs().isEmpty());
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).build, QStringLiteral("320"));
        QCOMPARE(storeEntries(), QStringList());
    }

    void destinationThatCannotBeWritten()
    {
        // Files where both Applications folders should be: no write can succeed, root or not.
        QDir().rmdir(locations().systemApplications);
        QDir().rmdir(locations().userApplications());
        writeTestFile(locations().systemApplications, "not a folder");
        writeTestFile(locations().userApplications(), "not a folder");
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QCOMPARE(model->jobs().value(QStringLiteral("lumen")).message, cannotReplace);
        QVERIFY(model->jobs().value(QStringLiteral("lumen")).detail.contains(locations().systemApplications));
        QCOMPARE(workFolders(locations().temporary), QStringList());
    }

    void unwritableFirstFolderAndMissingHomeFolder()
    {
        // A file where the first folder should be, and no home Applications folder yet: the
        // home one is made and takes the app.
        QDir().rmdir(locations().systemApplications);
        writeTestFile(locations().systemApplications, "not a folder");
        QVERIFY(QDir(locations().userApplications()).removeRecursively());
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QVERIFY(model->jobs().isEmpty());
        const QString landed = locations().userApplications() + QStringLiteral("/lumen.app");
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).url, landed);
        QVERIFY(QFileInfo(landed + QStringLiteral("/Contents/MacOS/app")).isExecutable());
        QCOMPARE(readFile(locations().systemApplications), QByteArray("not a folder"));
    }

    void occupiedFirstFolderSendsTheAppToTheSecond()
    {
        writeTestFile(locations().systemApplications + QStringLiteral("/lumen.app/unrelated"), "someone else's");
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QCoro::waitFor(model->install(appNamed(*model, QStringLiteral("lumen"))));
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).url,
                 locations().userApplications() + QStringLiteral("/lumen.app"));
        QVERIFY(QFile::exists(locations().systemApplications + QStringLiteral("/lumen.app/unrelated")));
    }

    void updateAllCompletesWhatItCan()
    {
        preinstall(QStringLiteral("a"), QStringLiteral("1"), locations().systemApplications);
        preinstall(QStringLiteral("b"), QStringLiteral("1"), locations().systemApplications);
        preinstall(QStringLiteral("c"), QStringLiteral("1"), locations().systemApplications);
        Publication broken = zipped(QStringLiteral("b"), QStringLiteral("2"));
        broken.answer = HttpResponse::notFound();
        publish({zipped(QStringLiteral("a"), QStringLiteral("2")), broken,
                 zipped(QStringLiteral("c"), QStringLiteral("2"))});
        const auto model = loadedModel();
        QCOMPARE(model->updates().size(), 3);
        QCoro::waitFor(model->updateAll());
        QCOMPARE(model->jobs().keys(), QStringList{QStringLiteral("b")});
        QCOMPARE(model->jobs().value(QStringLiteral("b")).message, downloadFailed);
        QVERIFY(model->jobs().value(QStringLiteral("b")).detail.contains(QStringLiteral("404")));
        QCOMPARE(model->updates().size(), 1);
    }

    void jobRules()
    {
        Publication slow = zipped(QStringLiteral("lumen"), QStringLiteral("320"));
        HttpResponse delayed = HttpResponse::ok(slow.archive, "application/zip");
        delayed.delayMilliseconds = 300;
        slow.answer = delayed;
        publish({slow});
        const auto model = loadedModel();
        const CatalogApp lumen = appNamed(*model, QStringLiteral("lumen"));
        QCoro::Task<> first = model->install(lumen);
        QCOMPARE(model->jobs().value(QStringLiteral("lumen")).state, Job::State::Working);
        QCoro::waitFor(model->install(lumen)); // returns at once
        QCoro::waitFor(std::move(first));
        QCOMPARE(m_server->hits("/archives/lumen-320.zip"), 1);

        CatalogApp unknown = lumen;
        unknown.productID = QStringLiteral("nofeed");
        unknown.appcastURL = m_server->url(QStringLiteral("/nofeed.xml"));
        QCoro::waitFor(model->install(unknown));
        QCOMPARE(model->jobs().value(QStringLiteral("nofeed")),
                 Job::failed(QStringLiteral("Could not reach the update feed.")));
        model->clearError(unknown);
        QVERIFY(!model->jobs().contains(QStringLiteral("nofeed")));
    }

    void olderCopyStillPreferredIsReported()
    {
        // As the update lands in the user's folder, an older copy arrives where the machine
        // looks first (another installer, say).
        preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().userApplications());
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        m_fixture->environment.registry =
            std::make_shared<RegistryWithArrival>(m_fixture->environment.registry, [this] {
                preinstall(QStringLiteral("lumen"), QStringLiteral("319"), locations().systemApplications);
            });
        const auto model = loadedModel();
        const CatalogApp lumen = appNamed(*model, QStringLiteral("lumen"));
        QCoro::waitFor(model->install(lumen));
        QCOMPARE(model->jobs().value(QStringLiteral("lumen")),
                 Job::failed(QStringLiteral("The update was installed, but this Mac still opens an older copy. Remove "
                                            "the older copy and try again.")));
        QCOMPARE(model->installed().value(QStringLiteral("lumen")).build, QStringLiteral("319"));
        QCOMPARE(m_releases->launches(), QByteArray());
    }

    void openingAVanishedCopyRescans()
    {
        const QString copy = preinstall(QStringLiteral("lumen"), QStringLiteral("310"), locations().systemApplications);
        publish({zipped(QStringLiteral("lumen"), QStringLiteral("320"))});
        const auto model = loadedModel();
        QVERIFY(QDir(copy).removeRecursively());
        model->open(appNamed(*model, QStringLiteral("lumen")));
        QVERIFY(model->installed().isEmpty());
        QCOMPARE(m_releases->launches(), QByteArray());
    }

    void downloadProgressAndNames()
    {
        const QByteArray archive(3 * 1024 * 1024, 'z');
        m_server->respond("/big%20file.zip", HttpResponse::ok(archive, "application/zip"));
        QList<double> reported;
        QNetworkAccessManager *session = m_fixture->session();
        const QString folder = m_folder->filePath(QStringLiteral("download"));
        QDir().mkpath(folder);
        const auto result = waitForResult(ArchiveDownload::download(
            session, m_server->url(QStringLiteral("/big%20file.zip")), folder,
            ArchiveLimits::standard().forLength(std::nullopt), [&reported](double f) { reported.append(f); }));
        QVERIFY(result);
        QCOMPARE(result.value(), folder + QStringLiteral("/big file.zip"));
        QCOMPARE(QFileInfo(result.value()).size(), archive.size());
        QCOMPARE(reported.first(), 0.0);
        QCOMPARE(reported.last(), 1.0);
        for (qsizetype i = 1; i + 1 < reported.size(); ++i)
            QVERIFY(reported[i] <= 0.99);
        QCOMPARE(ArchiveDownload::fileName(QUrl(QStringLiteral("https://a.example"))), QStringLiteral("archive"));
        QCOMPARE(ArchiveDownload::fileName(QUrl(QStringLiteral("https://a.example/x/..%2F..%2Fevil.zip"))),
                 QStringLiteral("evil.zip"));
        QCOMPARE(ArchiveDownload::fileName(QUrl(QStringLiteral("https://a.example/x/.."))), QStringLiteral("archive"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big file.zip")});
    }

    void errorPagesAreNeverWritten()
    {
        // Under a file size limit smaller than the page, writing it would fail on the file
        // system, root or not; a download that drops it fails for the status alone.
        HttpResponse page = HttpResponse::notFound();
        page.body = QByteArray(3 * 1024 * 1024, 'e');
        m_server->respond("/missing.zip", page);
        const QString folder = m_folder->filePath(QStringLiteral("download"));
        QDir().mkpath(folder);
        const FileSizeLimit limit(1024 * 1024);
        const auto result = waitForResult(
            ArchiveDownload::download(m_fixture->session(), m_server->url(QStringLiteral("/missing.zip")), folder,
                                      ArchiveLimits::standard().forLength(std::nullopt), [](double) {}));
        QVERIFY(!result);
        QCOMPARE(InstallFailure::name(result.error().kind), InstallFailure::name(Kind::Download));
        QVERIFY(result.error().detail.contains(QStringLiteral("404")));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    void answersThatAreNotHTTPFailTheDownload()
    {
        HttpResponse garbage;
        garbage.raw = QByteArray("\x16\x03\x01 not an HTTP answer\r\n\r\n");
        m_server->respond("/garbage.zip", garbage);
        const QString folder = m_folder->filePath(QStringLiteral("download"));
        QDir().mkpath(folder);
        const auto result = waitForResult(
            ArchiveDownload::download(m_fixture->session(), m_server->url(QStringLiteral("/garbage.zip")), folder,
                                      ArchiveLimits::standard().forLength(std::nullopt), [](double) {}));
        QVERIFY(!result);
        QCOMPARE(InstallFailure::name(result.error().kind), InstallFailure::name(Kind::Download));
        QVERIFY(!result.error().detail.isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    void archiveSignatureRules_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<std::optional<QString>>("signature");
        QTest::addColumn<QString>("publicKey");
        QTest::addColumn<bool>("accepted");
        const QString key = m_releases->archivePublicKey();
        const QString good = m_releases->signature("archive bytes");
        const QByteArray raw = QByteArray::fromBase64(good.toLatin1());
        const QByteArray bytes = "archive bytes";
        QTest::newRow("signed") << bytes << std::optional(good) << key << true;
        QTest::newRow("no key, no signature") << bytes << std::optional<QString>() << QString() << true;
        QTest::newRow("no key, garbage signature")
            << bytes << std::optional(QStringLiteral("garbage")) << QString() << true;
        QTest::newRow("key without signature") << bytes << std::optional<QString>() << key << false;
        QTest::newRow("signature cut short")
            << bytes << std::optional(QString::fromLatin1(raw.left(63).toBase64())) << key << false;
        QTest::newRow("signature too long")
            << bytes << std::optional(QString::fromLatin1((raw + 'x').toBase64())) << key << false;
        QTest::newRow("signature with a line break")
            << bytes << std::optional(good.left(10) + u'\n' + good.mid(10)) << key << false;
        QTest::newRow("key cut short") << bytes << std::optional(good)
                                       << QString::fromLatin1(
                                              QByteArray::fromBase64(key.toLatin1()).left(31).toBase64())
                                       << false;
        QTest::newRow("archive changed") << QByteArray("archive bytez") << std::optional(good) << key << false;
    }

    void archiveSignatureRules()
    {
        QFETCH(QByteArray, contents);
        QFETCH(std::optional<QString>, signature);
        QFETCH(QString, publicKey);
        QFETCH(bool, accepted);
        const QString file = m_folder->filePath(QStringLiteral("archive.zip"));
        writeTestFile(file, contents);
        const Expected<Unit, InstallFailure> checked = ArchiveSignature::check(file, signature, publicKey);
        QCOMPARE(checked.hasValue(), accepted);
        if (!checked) {
            QCOMPARE(InstallFailure::name(checked.error().kind), InstallFailure::name(Kind::BadArchiveSignature));
            QVERIFY(!checked.error().detail.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(InstallationTest)
#include "tst_installation.moc"
