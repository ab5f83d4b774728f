#include "codesign/bundlesignatureverifier.h"
#include "codesign/codedirectory.h"
#include "codesign/requirement.h"
#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "install/installer.h"
#include "maker/bundlesigner.h"
#include "maker/certificateissuer.h"
#include "maker/requirementencoder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QString team = QStringLiteral("ORVEL12345");
const QString lumenID = QStringLiteral("com.orvel.lumen");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void flipByte(const QString &path, qsizetype at)
{
    QByteArray bytes = readAll(path);
    bytes[at % bytes.size()] = char(bytes[at % bytes.size()] ^ 0x01);
    writeTestFile(path, bytes);
}

QByteArray der(const QByteArray &pem)
{
    return TrustAnchors::readPEM(pem).value(0);
}

CatalogApp catalogApp(const QString &bundleID, const QString &teamID)
{
    CatalogApp app;
    app.bundleID = bundleID;
    app.teamID = teamID;
    return app;
}

void appendU32(QByteArray &out, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    out.append(reinterpret_cast<const char *>(&big), 4);
}

} // namespace

class CodeSignatureTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    PemIdentity m_root;
    PemIdentity m_intermediate;
    PemIdentity m_leaf;
    int m_bundles = 0;

    // An app with resources, a localisation, a link, and a nested framework, signed.
    QString signedBundle(const PemIdentity &leaf, QList<QByteArray> chain = {},
                         const QByteArray &executable = "#!/bin/sh\necho lumen\n")
    {
        const QString bundle = m_folder.filePath(QStringLiteral("b%1/Lumen.app").arg(++m_bundles));
        BundleFactory::write(bundle, BundleFactory::info(lumenID, QStringLiteral("3.2"), QStringLiteral("320")));
        writeTestFile(bundle + QStringLiteral("/Contents/MacOS/app"), executable);
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/a.txt"), "resource a");
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/sub/b.dat"), QByteArray(70000, 'b'));
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/de.lproj/Localizable.strings"),
                      "\"Hi\" = \"Hallo\";");
        QFile::link(QStringLiteral("a.txt"), bundle + QStringLiteral("/Contents/Resources/link.txt"));
        BundleFactory::write(bundle + QStringLiteral("/Contents/Frameworks/Kit.framework"),
                             BundleFactory::info(QStringLiteral("com.orvel.kit"), QString(), QStringLiteral("1")));
        writeTestFile(bundle + QStringLiteral("/Contents/Frameworks/Kit.framework/Contents/Resources/kit.txt"), "kit");
        if (chain.isEmpty())
            chain = {m_intermediate.certificate, m_root.certificate};
        const std::optional<QString> failure = BundleSigner(leaf, chain).sign(bundle);
        if (failure)
            qFatal("signing failed: %s", qPrintable(*failure));
        return bundle;
    }

    std::optional<QString> check(const QString &bundle, const QString &bundleID = lumenID, const QString &teamID = team,
                                 const QList<QByteArray> &anchors = {})
    {
        const TrustAnchors trust(anchors.isEmpty() ? QList<QByteArray>{der(m_root.certificate)} : anchors);
        return Installer::codeSignatureFailure(bundle, catalogApp(bundleID, teamID), BundleSignatureVerifier(trust));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_root = CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Test Root"));
        m_intermediate = CertificateIssuer::makeCodeSigningIntermediate(m_root, QStringLiteral("Test Developer CA"));
        m_leaf = CertificateIssuer::makeCodeSigningLeaf(m_intermediate, team, QStringLiteral("Orvel"));
    }

    void signedBundleIsValidForItsIdentityOnly()
    {
        const QString bundle = signedBundle(m_leaf);
        QCOMPARE(check(bundle), std::nullopt);
        QVERIFY(check(bundle, QStringLiteral("com.orvel.quire")));
        QVERIFY(check(bundle, lumenID, QStringLiteral("OTHER12345")));
        const PemIdentity otherRoot = CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Other Root"));
        QVERIFY(check(bundle, lumenID, team, {der(otherRoot.certificate)})->contains(QStringLiteral("not trusted")));
        // Anchored at the built-in root only, as a production store without extra anchors is.
        QVERIFY(!Installer::codeSignatureIsValid(bundle, catalogApp(lumenID, team)));
    }

    void selfSignedLeafIsNotTrusted()
    {
        const PemIdentity selfSigned = CertificateIssuer::issue({
            .subject = {{QStringLiteral("CN"), QStringLiteral("Me")}, {QStringLiteral("OU"), team}},
            .extensions = {{QStringLiteral("extendedKeyUsage"), QStringLiteral("codeSigning")}},
        });
        const QString bundle = signedBundle(selfSigned, {m_intermediate.certificate});
        QVERIFY(check(bundle));
    }

    void leafMustBeForCodeSigning()
    {
        const PemIdentity withTeam = CertificateIssuer::issue(
            {.subject = {{QStringLiteral("CN"), QStringLiteral("x")}, {QStringLiteral("OU"), team}},
             .extensions = {{QStringLiteral("extendedKeyUsage"), QStringLiteral("serverAuth")}}},
            &m_intermediate);
        QVERIFY(check(signedBundle(withTeam))->contains(QStringLiteral("code signing")));
    }

    void expiredChainIsAcceptedWithoutTimestamp()
    {
        const PemIdentity expired =
            CertificateIssuer::makeCodeSigningLeaf(m_intermediate, team, QStringLiteral("Orvel"), -30);
        QCOMPARE(check(signedBundle(expired)), std::nullopt);
    }

    void anyChangeBreaksTheSignature()
    {
        const QList<std::pair<const char *, std::function<void(const QString &)>>> mutations{
            {"resource changed",
             [](const QString &b) { writeTestFile(b + "/Contents/Resources/a.txt", "resource A"); }},
            {"Info.plist changed", [](const QString &b) { flipByte(b + "/Contents/Info.plist", 60); }},
            {"executable changed", [](const QString &b) { flipByte(b + "/Contents/MacOS/app", 3); }},
            {"CodeResources changed",
             [](const QString &b) { flipByte(b + "/Contents/_CodeSignature/CodeResources", 300); }},
            {"requirements changed",
             [](const QString &b) { flipByte(b + "/Contents/_CodeSignature/CodeRequirements", 60); }},
            {"file added to Resources",
             [](const QString &b) { writeTestFile(b + "/Contents/Resources/new.txt", "x"); }},
            {"file added to Contents", [](const QString &b) { writeTestFile(b + "/Contents/new.txt", "x"); }},
            {"file added to MacOS", [](const QString &b) { writeTestFile(b + "/Contents/MacOS/helper", "x"); }},
            {"file added to the root", [](const QString &b) { writeTestFile(b + "/README", "x"); }},
            {"file added to the signature",
             [](const QString &b) { writeTestFile(b + "/Contents/_CodeSignature/extra", "x"); }},
            {"file added to nested code",
             [](const QString &b) {
                 writeTestFile(b + "/Contents/Frameworks/Kit.framework/Contents/Resources/new", "x");
             }},
            {"nested code changed",
             [](const QString &b) {
                 writeTestFile(b + "/Contents/Frameworks/Kit.framework/Contents/Resources/kit.txt", "KIT");
             }},
            {"sealed file removed", [](const QString &b) { QFile::remove(b + "/Contents/Resources/sub/b.dat"); }},
            {"nested code removed",
             [](const QString &b) { QDir(b + "/Contents/Frameworks/Kit.framework").removeRecursively(); }},
            {"file replaced by a link",
             [](const QString &b) {
                 QFile::remove(b + "/Contents/Resources/sub/b.dat");
                 QFile::link("../a.txt", b + "/Contents/Resources/sub/b.dat");
             }},
            {"link retargeted",
             [](const QString &b) {
                 QFile::remove(b + "/Contents/Resources/link.txt");
                 QFile::link("sub/b.dat", b + "/Contents/Resources/link.txt");
             }},
            {"link replaced by a file",
             [](const QString &b) {
                 QFile::remove(b + "/Contents/Resources/link.txt");
                 writeTestFile(b + "/Contents/Resources/link.txt", "resource a");
             }},
            {"signature removed",
             [](const QString &b) { QFile::remove(b + "/Contents/_CodeSignature/CodeSignature"); }},
            {"alternate directory of the same type",
             [](const QString &b) {
                 QFile::copy(b + "/Contents/_CodeSignature/CodeDirectory",
                             b + "/Contents/_CodeSignature/CodeRequirements-1");
             }},
        };
        for (const auto &[name, mutate] : mutations) {
            const QString bundle = signedBundle(m_leaf);
            mutate(bundle);
            QVERIFY2(check(bundle), name);
        }
    }

    void harmlessChangesKeepTheSignature()
    {
        const QString bundle = signedBundle(m_leaf);
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/.DS_Store"), "finder");
        QFile::remove(bundle + QStringLiteral("/Contents/Resources/de.lproj/Localizable.strings")); // optional
        QCOMPARE(check(bundle), std::nullopt);
    }

    void everyByteOfTheDirectoryAndTheSignerInfoCounts()
    {
        const QString bundle = signedBundle(m_leaf);
        // The whole CodeDirectory, and the end of the CMS, where the signer info (its signed
        // attributes and signature) lives. Earlier CMS bytes include unsigned, unused parts
        // such as the copy of the root, which the verifier takes from its anchors instead.
        for (const auto &[component, from] : {std::pair{"CodeDirectory", 0}, std::pair{"CodeSignature", -250}}) {
            const QString path = bundle + QStringLiteral("/Contents/_CodeSignature/") + QLatin1String(component);
            const QByteArray original = readAll(path);
            for (qsizetype at = from < 0 ? original.size() + from : 0; at < original.size(); at += 3) {
                flipByte(path, at);
                if (!check(bundle))
                    QFAIL(qPrintable(QStringLiteral("a flipped byte at %1 of %2 went unnoticed")
                                         .arg(at)
                                         .arg(QLatin1String(component))));
                writeTestFile(path, original);
            }
        }
    }

    void truncatedOrGarbageSignaturesAreInvalid()
    {
        const QString bundle = signedBundle(m_leaf);
        QRandomGenerator random(42);
        for (const char *component : {"CodeDirectory", "CodeSignature", "CodeResources", "CodeRequirements"}) {
            const QString path = bundle + QStringLiteral("/Contents/_CodeSignature/") + QLatin1String(component);
            const QByteArray original = readAll(path);
            for (qsizetype length = 0; length < original.size();
                 length += std::max<qsizetype>(1, original.size() / 40)) {
                writeTestFile(path, original.left(length));
                QVERIFY(check(bundle));
            }
            for (int round = 0; round < 20; ++round) {
                QByteArray garbage(int(random.bounded(1, 600)), Qt::Uninitialized);
                for (char &c : garbage)
                    c = char(random.bounded(256));
                if (round % 2)
                    garbage.replace(0, 4, QByteArray::fromHex("fade0c02"));
                writeTestFile(path, garbage);
                QVERIFY(check(bundle));
            }
            writeTestFile(path, original);
        }
        QCOMPARE(check(bundle), std::nullopt);
    }

    void linksMustStayInsideTheBundle()
    {
        const QString bundle = m_folder.filePath(QStringLiteral("escape/Lumen.app"));
        BundleFactory::write(bundle, BundleFactory::info(lumenID, QString(), QStringLiteral("1")));
        QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
        QFile::link(QStringLiteral("../../../../outside.txt"), bundle + QStringLiteral("/Contents/Resources/escape"));
        QVERIFY(!BundleSigner(m_leaf, {m_intermediate.certificate}).sign(bundle));
        QVERIFY(check(bundle)->contains(QStringLiteral("outside the bundle")));
    }

    void machOExecutablesAreRefused()
    {
        const QString bundle = signedBundle(m_leaf, {}, "\xcf\xfa\xed\xfe rest of a binary");
        QCOMPARE(check(bundle), QStringLiteral("embedded signatures are not supported yet"));
    }

    void catalogValuesCannotWidenTheRequirement()
    {
        const QString bundle = signedBundle(m_leaf);
        QVERIFY(check(bundle, lumenID + QStringLiteral("\" or identifier \"x")));
        QVERIFY(
            check(bundle, lumenID, team + QStringLiteral("\" or anchor apple generic and identifier \"") + lumenID));
        QVERIFY(check(bundle, lumenID, team + QStringLiteral("\\")));
        QCOMPARE(Installer::requirement(catalogApp(QStringLiteral("com.example.app"), QStringLiteral("ABCDE12345"))),
                 QStringLiteral("anchor apple generic and identifier \"com.example.app\" and certificate "
                                "leaf[subject.OU] = \"ABCDE12345\""));
    }

    void requirementLanguage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("compiles");

        QTest::newRow("designated") << Installer::requirement(catalogApp(lumenID, team)) << true;
        QTest::newRow("platform canonical form") << "identifier \"com.x.helper\" and anchor apple generic and "
                                                    "certificate 1[field.1.2.840.113635.100.6.2.6] /* exists */ "
                                                    "and certificate leaf[field.1.2.840.113635.100.6.1.13] /* exists "
                                                    "*/ and certificate leaf[subject.OU] = ABCDE12345"
                                                 << true;
        QTest::newRow("or, not, parentheses") << "(identifier a or identifier = b) and !cdhash H\"0011\"" << true;
        QTest::newRow("generic apple") << "anchor generic apple" << true;
        QTest::newRow("comment to line end") << "always # nothing else\n" << true;
        QTest::newRow("plain anchor apple") << "anchor apple" << false;
        QTest::newRow("info key") << "info[CFBundleVersion] = 1" << false;
        QTest::newRow("entitlement") << "entitlement[\"x\"] exists" << false;
        QTest::newRow("team starting with a digit, bare") << "certificate leaf[subject.OU] = 12345ABCDE" << false;
        QTest::newRow("unterminated string") << "identifier \"abc" << false;
        QTest::newRow("unclosed comment") << "always /* forever" << false;
        QTest::newRow("dangling and") << "always and" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("odd hex") << "cdhash H\"abc\"" << false;
        QTest::newRow("too deep") << QString(QStringLiteral("(")).repeated(200) + QStringLiteral("always") +
                                         QString(QStringLiteral(")")).repeated(200)
                                  << false;
    }

    void requirementLanguage()
    {
        QFETCH(QString, text);
        QFETCH(bool, compiles);
        QCOMPARE(Requirement::compile(text).has_value(), compiles);
    }

    // The signer's requirement blob, byte for byte as the format's reference gives it.
    void requirementBlobMatchesTheFormat()
    {
        const QByteArray expected = QByteArray::fromHex("fade0c000000005c00000001"
                                                        "0000000600000006"
                                                        "0000000f"
                                                        "000000020000000f636f6d2e6578616d706c652e61707000"
                                                        "0000000b000000000000000a7375626a6563742e4f550000"
                                                        "000000010000000a414243444531323334350000");
        QCOMPARE(RequirementEncoder::designated(QStringLiteral("com.example.app"), QStringLiteral("ABCDE12345")),
                 expected);
    }

    // CodeDirectories written by hand, field by field, to check the parser's bounds.
    void handWrittenDirectories_data()
    {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<bool>("parses");

        auto directory = [](quint32 version, quint8 hashSize, quint8 hashType, quint32 specialCount, quint32 codeCount,
                            quint32 codeLimit, quint32 identOffsetShift, quint8 pageSize) {
            const QByteArray identifier("com.hand.made\0", 14);
            const quint32 header = 0x34;
            const quint32 hashOffset = header + quint32(identifier.size()) + specialCount * hashSize;
            QByteArray blob;
            appendU32(blob, 0xfade0c02);
            appendU32(blob, hashOffset + codeCount * hashSize);
            appendU32(blob, version);
            appendU32(blob, 0);
            appendU32(blob, hashOffset);
            appendU32(blob, header + identOffsetShift);
            appendU32(blob, specialCount);
            appendU32(blob, codeCount);
            appendU32(blob, codeLimit);
            blob.append(char(hashSize)).append(char(hashType)).append(char(0)).append(char(pageSize));
            appendU32(blob, 0);
            appendU32(blob, 0);
            appendU32(blob, 0);
            blob.append(identifier);
            blob.append(QByteArray(int((specialCount + codeCount) * hashSize), '\x5a'));
            return blob;
        };
        QTest::newRow("well formed") << directory(0x20200, 32, 2, 3, 1, 100, 0, 0) << true;
        QTest::newRow("pages") << directory(0x20200, 32, 2, 3, 3, 9000, 0, 12) << true;
        QTest::newRow("slot count off") << directory(0x20200, 32, 2, 3, 2, 9000, 0, 12) << false;
        QTest::newRow("hash size wrong for type") << directory(0x20200, 20, 2, 3, 1, 100, 0, 0) << false;
        QTest::newRow("SHA-512 not accepted") << directory(0x20200, 64, 5, 3, 1, 100, 0, 0) << false;
        QTest::newRow("version too old") << directory(0x20000, 32, 2, 3, 1, 100, 0, 0) << false;
        QTest::newRow("version too new") << directory(0x30000, 32, 2, 3, 1, 100, 0, 0) << false;
        QTest::newRow("identifier outside") << directory(0x20200, 32, 2, 3, 1, 100, 100000, 0) << false;
        QTest::newRow("code slot for an empty limit") << directory(0x20200, 32, 2, 3, 1, 0, 0, 0) << false;
        QByteArray huge = directory(0x20200, 32, 2, 3, 1, 100, 0, 0);
        qToBigEndian<quint32>(0xFFFFFFF0u, huge.data() + 24); // special slots reaching below the blob
        QTest::newRow("special slots underflow") << huge << false;
        QByteArray longer = directory(0x20200, 32, 2, 3, 1, 100, 0, 0);
        longer.append("xx");
        QTest::newRow("length disagrees") << longer << false;
    }

    void handWrittenDirectories()
    {
        QFETCH(QByteArray, blob);
        QFETCH(bool, parses);
        QString reason;
        const std::optional<CodeDirectory> directory = CodeDirectory::parse(blob, &reason);
        QCOMPARE(directory.has_value(), parses);
        QCOMPARE(reason.isEmpty(), parses);
        if (directory)
            QCOMPARE(directory->identifier, QStringLiteral("com.hand.made"));
    }
};

QTEST_GUILESS_MAIN(CodeSignatureTest)
#include "tst_codesignature.moc"
