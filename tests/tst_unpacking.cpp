#include "codesign/bundlesignatureverifier.h"
#include "codesign/catalogrequirement.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "install/archiveextractor.h"
#include "install/unpackedtree.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

using Kind = InstallFailure::Kind;
using Entry = ReleaseFactory::ZipEntry;

namespace {

const QString images = QStringLiteral(TESSEL_TEST_DATA "/disk-images/");

mode_t modeOf(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Everything below the folder that group or others may write, as "path mode".
QStringList sharedWritable(const QString &folder)
{
    QStringList found;
    UnpackedTree::visit(folder, [&found](const QString &path, const struct stat &status) {
        if (!S_ISLNK(status.st_mode) && (status.st_mode & 022))
            found.append(path + QStringLiteral(" %1").arg(status.st_mode & 07777, 0, 8));
        return true;
    });
    return found;
}

QStringList entriesBelow(const QString &folder)
{
    QStringList found;
    UnpackedTree::visit(folder, [&found](const QString &path, const struct stat &) {
        found.append(path);
        return true;
    });
    return found;
}

// A zip whose one big entry says, in its local and central headers and its data descriptor,
// that it unpacks to fewer bytes than it does: libarchive inflates the stream to its end.
QByteArray lyingZip(qsizetype realBytes, quint32 announcedBytes)
{
    QByteArray zip =
        ReleaseFactory::zip({{QStringLiteral("lumen.app/"), Entry::Type::Folder, {}, 0755},
                             {QStringLiteral("lumen.app/big"), Entry::Type::File, QByteArray(realBytes, '\0')}});
    auto patch = [&zip, realBytes, announcedBytes](const QByteArray &signature, int offset) {
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4)) {
            if (qFromLittleEndian<quint32>(zip.constData() + at + offset) == quint32(realBytes))
                qToLittleEndian<quint32>(announcedBytes, zip.data() + at + offset);
        }
    };
    patch("PK\x03\x04", 22);
    patch("PK\x07\x08", 12);
    patch("PK\x01\x02", 24);
    return zip;
}

} // namespace

// Lays out an archive in the test's folder and gives its path.
using Make = std::function<QString(const QString &folder)>;
Q_DECLARE_METATYPE(Make)
Q_DECLARE_METATYPE(InstallFailure::Kind)

class UnpackingTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ReleaseFactory> m_releases;

    QString path(const QString &name) const { return m_folder->filePath(name); }

    QString writeArchive(const QString &name, const QByteArray &bytes) const
    {
        writeTestFile(path(name), bytes);
        return path(name);
    }

    // A folder tree "lumen.app" with the given files, as a maker's tool laid it out.
    QString bundleTree(const QList<Entry> &files) const
    {
        const QString root = path(QStringLiteral("tree-%1/lumen.app").arg(QUuid::createUuid().toString()));
        for (const Entry &file : files) {
            const QString at = root + u'/' + file.name;
            QDir().mkpath(QFileInfo(at).path());
            writeTestFile(at, file.data);
            QFile::setPermissions(at, QFileDevice::Permissions()); // replaced below, exactly
            ::chmod(QFile::encodeName(at).constData(), mode_t(file.mode));
        }
        return root;
    }

    // A tmpfs of this size mounted for the test, or nothing when this is not root.
    std::optional<QString> smallFileSystem(const QString &size)
    {
        const QString mountPoint = path(QStringLiteral("small"));
        QDir().mkpath(mountPoint);
        if (::geteuid() != 0 ||
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=") + size, QStringLiteral("tmpfs"), mountPoint}) != 0)
            return std::nullopt;
        m_mounted = mountPoint;
        return mountPoint;
    }
    QString m_mounted;

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_releases = std::make_unique<ReleaseFactory>(m_folder->path());
    }

    void cleanup()
    {
        if (!m_mounted.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {m_mounted});
        m_mounted.clear();
    }

    void unpackedItemsAreWritableByTheOwnerAlone_data()
    {
        QTest::addColumn<Make>("make");
        const QList<Entry> files{{QStringLiteral("Contents/MacOS/app"), Entry::Type::File, "#!/bin/sh\n", 0777},
                                 {QStringLiteral("Contents/Info.plist"), Entry::Type::File, "<plist/>", 0666},
                                 {QStringLiteral("Contents/Resources/tool"), Entry::Type::File, "x", 0775},
                                 {QStringLiteral("Contents/Resources/setuid"), Entry::Type::File, "x", 04777}};
        QTest::newRow("zip") << Make([this, files](const QString &) {
            QList<Entry> entries{{QStringLiteral("lumen.app/"), Entry::Type::Folder, {}, 0777}};
            for (Entry file : files) {
                file.name.prepend(QStringLiteral("lumen.app/"));
                entries.append(file);
            }
            return writeArchive(QStringLiteral("lumen.zip"), ReleaseFactory::zip(entries));
        });
        QTest::newRow("disk image") << Make([this, files](const QString &) {
            const QString bundle = bundleTree(files);
            ::chmod(QFile::encodeName(bundle).constData(), 0777);
            return writeArchive(QStringLiteral("lumen.dmg"), m_releases->diskImage(bundle));
        });
    }

    void unpackedItemsAreWritableByTheOwnerAlone()
    {
        QFETCH(Make, make);
        const QString archive = make(path({}));
        // 7zz applies the umask it inherits, and a user's may well let the group write (002).
        const mode_t umask = ::umask(0);
        const auto apps = ArchiveExtractor::extract(archive, path(QStringLiteral("out")));
        ::umask(umask);
        QVERIFY2(apps, apps ? "" : qPrintable(apps.error().detail));
        const QString app = apps.value().first();
        QCOMPARE(sharedWritable(path(QStringLiteral("out"))), QStringList());
        QCOMPARE(modeOf(app), mode_t(0755));
        QCOMPARE(modeOf(app + QStringLiteral("/Contents/MacOS/app")), mode_t(0755));
        QCOMPARE(modeOf(app + QStringLiteral("/Contents/Info.plist")), mode_t(0644));
        QCOMPARE(modeOf(app + QStringLiteral("/Contents/Resources/tool")), mode_t(0755));
        QCOMPARE(modeOf(app + QStringLiteral("/Contents/Resources/setuid")), mode_t(0755));
    }

    // A ".dmg" that is another kind of archive is not handed to 7zz, which would unpack it.
    void onlyDiskImagesAreUnpackedAsDiskImages_data()
    {
        QTest::addColumn<Make>("make");
        const QList<Entry> files{{QStringLiteral("Contents/Info.plist"), Entry::Type::File, "<plist/>"}};
        QTest::newRow("zip named .dmg") << Make([this, files](const QString &) {
            return writeArchive(QStringLiteral("lumen.dmg"), ReleaseFactory::zip(bundleTree(files)));
        });
        QTest::newRow("tar named .dmg") << Make([this, files](const QString &) {
            const QString bundle = bundleTree(files);
            QProcess::execute(QStringLiteral("tar"),
                              {QStringLiteral("-cf"), path(QStringLiteral("lumen.dmg")), QStringLiteral("-C"),
                               QFileInfo(bundle).path(), QStringLiteral("lumen.app")});
            return path(QStringLiteral("lumen.dmg"));
        });
        QTest::newRow("encrypted image") << Make(
            [](const QString &) { return images + QStringLiteral("dmgwiz-apfs-aes256-encrypted.dmg"); });
    }

    void onlyDiskImagesAreUnpackedAsDiskImages()
    {
        QFETCH(Make, make);
        const auto app = ArchiveExtractor::extract(make(path({})), path(QStringLiteral("work/out")));
        QVERIFY(!app);
        QCOMPARE(InstallFailure::name(app.error().kind), InstallFailure::name(Kind::Extract));
        QCOMPARE(entriesBelow(path(QStringLiteral("work"))), QStringList{path(QStringLiteral("work/out"))});
    }

    // 7zz re-roots absolute links into its output folder, where they lead out of the app, and
    // refuses relative ones that climb out of their top folder itself.
    void diskImageLinksStayInsideTheApp_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("absolute") << QByteArray("/etc/passwd") << QStringLiteral("lumen.app/Contents/evil");
        QTest::newRow("beside the app") << QByteArray("../../other") << QStringLiteral("7zz could not unpack");
    }

    void diskImageLinksStayInsideTheApp()
    {
        QFETCH(QByteArray, target);
        QFETCH(QString, reason);
        const QString bundle = bundleTree({{QStringLiteral("Contents/Info.plist"), Entry::Type::File, "<plist/>"}});
        writeTestFile(QFileInfo(bundle).path() + QStringLiteral("/other"), "outside the app");
        QFile::link(QString::fromUtf8(target), bundle + QStringLiteral("/Contents/evil"));
        const QString image =
            writeArchive(QStringLiteral("lumen.dmg"), m_releases->diskImage(QFileInfo(bundle).path()));
        const auto app = ArchiveExtractor::extract(image, path(QStringLiteral("work/out")));
        QVERIFY(!app);
        QCOMPARE(InstallFailure::name(app.error().kind), InstallFailure::name(Kind::Extract));
        QVERIFY2(app.error().detail.contains(reason), qPrintable(app.error().detail));
        QVERIFY(!QFile::exists(path(QStringLiteral("work/mount"))));
    }

    // Archives whose contents are larger than allowed, announced or not.
    void bombsAreStoppedBeforeTheyFillTheDisk_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<qint64>("maximumBytes");
        QTest::addColumn<QString>("reason");
        const qsizetype big = 2 << 20;
        const QList<Entry> bigFile{{QStringLiteral("Contents/big"), Entry::Type::File, QByteArray(big, '\0')}};
        QTest::newRow("zip announcing more than the limit") << Make([this, bigFile](const QString &) {
            return writeArchive(QStringLiteral("lumen.zip"), ReleaseFactory::zip(bundleTree(bigFile)));
        }) << qint64(big - 1) << QStringLiteral("allowed");
        QTest::newRow("disk image announcing more than the limit") << Make([this, bigFile](const QString &) {
            return writeArchive(QStringLiteral("lumen.dmg"), m_releases->diskImage(bundleTree(bigFile)));
        }) << qint64(big - 1) << QStringLiteral("allowed");
        QTest::newRow("zip whose headers understate its size") << Make([this, big](const QString &) {
            return writeArchive(QStringLiteral("lumen.zip"), lyingZip(big, 1000));
        }) << UnpackLimits::defaultMaximumBytes << QStringLiteral("wrote more than the 1000 bytes it announced");
    }

    void bombsAreStoppedBeforeTheyFillTheDisk()
    {
        QFETCH(Make, make);
        QFETCH(qint64, maximumBytes);
        QFETCH(QString, reason);
        const QString archive = make(path({}));
        const auto app = ArchiveExtractor::extract(archive, path(QStringLiteral("work/out")), {maximumBytes});
        QVERIFY(!app);
        QCOMPARE(InstallFailure::name(app.error().kind), InstallFailure::name(Kind::Extract));
        QVERIFY2(app.error().detail.contains(reason), qPrintable(app.error().detail));
        QVERIFY(UnpackedTree::fileBytes(path(QStringLiteral("work"))) <= 1000);
        QVERIFY(!QFile::exists(path(QStringLiteral("work/mount"))));
    }

    // What does not fit the destination's file system is refused before it is written, with
    // the reserve left free; what fits goes through on the same file system.
    void archivesMustFitTheFreeSpace_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<qsizetype>("bytes");
        QTest::addColumn<bool>("fits");
        QTest::newRow("zip too large") << QStringLiteral("zip") << qsizetype(16 << 20) << false;
        QTest::newRow("zip filling the reserve") << QStringLiteral("zip") << qsizetype(7 << 20) << false;
        QTest::newRow("zip that fits") << QStringLiteral("zip") << qsizetype(4 << 20) << true;
        QTest::newRow("disk image too large") << QStringLiteral("dmg") << qsizetype(16 << 20) << false;
        QTest::newRow("disk image that fits") << QStringLiteral("dmg") << qsizetype(4 << 20) << true;
    }

    void archivesMustFitTheFreeSpace()
    {
        QFETCH(QString, type);
        QFETCH(qsizetype, bytes);
        QFETCH(bool, fits);
        const QString bundle =
            bundleTree({{QStringLiteral("Contents/big"), Entry::Type::File, QByteArray(bytes, 'z')}});
        const QString archive =
            writeArchive(QStringLiteral("lumen.") + type,
                         type == QLatin1String("zip") ? ReleaseFactory::zip(bundle) : m_releases->diskImage(bundle));
        const std::optional<QString> small = smallFileSystem(QStringLiteral("8m"));
        if (!small)
            QSKIP("mounting a small tmpfs for a full file system needs root");
        const UnpackLimits limits{UnpackLimits::defaultMaximumBytes, 1 << 20};
        const auto app = ArchiveExtractor::extract(archive, *small + QStringLiteral("/out"), limits);
        QCOMPARE(app.hasValue(), fits);
        if (fits)
            return;
        QCOMPARE(InstallFailure::name(app.error().kind), InstallFailure::name(Kind::FileSystem));
        QCOMPARE(entriesBelow(*small), QStringList{*small + QStringLiteral("/out")});
    }

    // Real images made by other tools: where the app is found, and what comes out.
    void realDiskImages_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("app");       // relative to the unpacked folder, empty for none
        QTest::addColumn<mode_t>("executable"); // the app's main executable's mode
        QTest::newRow("HFS+ made on Linux") << QStringLiteral("linuxmade-something-app-udzo.dmg")
                                            << QStringLiteral("Firefox/Something.app") << mode_t(0755);
        // FAT keeps no modes: nothing says the executable is one.
        QTest::newRow("FAT") << QStringLiteral("applers-fat32-app.dmg") << QStringLiteral("raqote-winit.app")
                             << mode_t(0644);
        for (const char *compression : {"udzo", "udbz", "ulfo"})
            QTest::newRow(qPrintable(QStringLiteral("HFS+ by macOS, %1").arg(compression)))
                << QStringLiteral("keramics-hfsplus-%1.dmg").arg(compression) << QString() << mode_t(0);
    }

    void realDiskImages()
    {
        QFETCH(QString, image);
        QFETCH(QString, app);
        QFETCH(mode_t, executable);
        const QString mount = path(QStringLiteral("mount"));
        const auto unpacked = ArchiveExtractor::unpackDiskImage(images + image, mount);
        QVERIFY2(unpacked, unpacked ? "" : qPrintable(unpacked.error().detail));
        // No side files for extended attributes or resource forks.
        for (const QString &entry : entriesBelow(mount))
            QVERIFY2(!QFileInfo(entry).fileName().contains(u':'), qPrintable(entry));
        const QStringList apps = ArchiveExtractor::volumeAppBundles(mount);
        if (app.isEmpty()) {
            QCOMPARE(apps, QStringList());
            const QString volume = mount + QStringLiteral("/hfsplus_test");
            QCOMPARE(ArchiveExtractor::volumeRoot(mount), volume);
            QVERIFY(QFileInfo(volume + QStringLiteral("/directory_symboliclink1")).isSymLink());
            // HFS+ keeps names decomposed; they come out as the volume holds them.
            QStringList names;
            for (const QString &name : QDir(volume).entryList(QDir::AllEntries | QDir::System))
                names.append(name.normalized(QString::NormalizationForm_C));
            QVERIFY(names.contains(QStringLiteral("nfc_t\u00e9stfil\u00e8")));
            QVERIFY(names.contains(QStringLiteral("nfkd_3\u20444")));
            QVERIFY(names.contains(QStringLiteral("case_folding_\u00b5")));
            QCOMPARE(ArchiveExtractor::extract(images + image, path(QStringLiteral("out"))).error().kind,
                     Kind::NoAppInArchive);
            return;
        }
        QCOMPARE(apps, QStringList{mount + u'/' + app});
        const QString name = QFileInfo(app).fileName();
        const QString executableName = name.chopped(4);
        const auto extracted = ArchiveExtractor::extract(images + image, path(QStringLiteral("out")));
        QVERIFY2(extracted, extracted ? "" : qPrintable(extracted.error().detail));
        QCOMPARE(extracted.value(), QStringList{path(QStringLiteral("out/")) + name});
        const QString extractedApp = extracted.value().first();
        QCOMPARE(modeOf(extractedApp + QStringLiteral("/Contents/MacOS/") + executableName), executable);
        QVERIFY(!QFile::exists(path(QStringLiteral("mount"))));
        // Not signed by a chain the store trusts: an install stops at the code-signature check.
        const BundleSignatureVerifier verifier(m_releases->anchors());
        CatalogApp catalogApp;
        catalogApp.bundleID = QStringLiteral("com.example.") + executableName;
        catalogApp.teamID = QString::fromLatin1(ReleaseFactory::team);
        QVERIFY(!CatalogRequirement::check(extractedApp, catalogApp, verifier));
    }
};

QTEST_GUILESS_MAIN(UnpackingTest)
#include "tst_unpacking.moc"
