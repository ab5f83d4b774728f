#include "codesign/bundlesignatureverifier.h"
#include "codesign/catalogrequirement.h"
#include "codesign/codedirectory.h"
#include "codesign/requirement.h"
#include "harness/bundlefactory.h"
#include "harness/modelfixture.h"
#include "maker/bundlesigner.h"
#include "maker/certificateissuer.h"
#include "maker/requirementencoder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using Kind = CodeSignatureFailure::Kind;
// A change made to a signed bundle.
using Mutation = std::function<void(const QString &bundle)>;
Q_DECLARE_METATYPE(Mutation)
Q_DECLARE_METATYPE(CodeSignatureFailure::Kind)

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

// "valid", or the failure's kind by name: what the tests compare, readable when they differ.
template<typename T> QString verdict(const CodeSignatureResult<T> &result)
{
    return result ? QStringLiteral("valid") : CodeSignatureFailure::name(result.error().kind);
}

QString named(Kind kind)
{
    return CodeSignatureFailure::name(kind);
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

    CodeSignatureResult<Unit> check(const QString &bundle, const QString &bundleID = lumenID,
                                    const QString &teamID = team, const QList<QByteArray> &anchors = {})
    {
        const TrustAnchors trust(anchors.isEmpty() ? QList<QByteArray>{der(m_root.certificate)} : anchors);
        return CatalogRequirement::check(bundle, catalogApp(bundleID, teamID), BundleSignatureVerifier(trust));
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
        QCOMPARE(verdict(check(bundle)), QStringLiteral("valid"));
        QCOMPARE(verdict(check(bundle, QStringLiteral("com.orvel.quire"))), named(Kind::RequirementNotMet));
        QCOMPARE(verdict(check(bundle, lumenID, QStringLiteral("OTHER12345"))), named(Kind::RequirementNotMet));
        const PemIdentity otherRoot = CertificateIssuer::makeCodeSigningRoot(QStringLiteral("Other Root"));
        const CodeSignatureResult<Unit> otherAnchor = check(bundle, lumenID, team, {der(otherRoot.certificate)});
        QCOMPARE(verdict(otherAnchor), named(Kind::UntrustedSigner));
        QVERIFY(otherAnchor.error().detail.contains(QStringLiteral("not trusted")));
        // Anchored at the built-in root only, as a production store without extra anchors is.
        QCOMPARE(verdict(check(bundle, lumenID, team, {TrustAnchors::builtInRoot()})), named(Kind::UntrustedSigner));
    }

    void selfSignedLeafIsNotTrusted()
    {
        const PemIdentity selfSigned = CertificateIssuer::issue({
            .subject = {{QStringLiteral("CN"), QStringLiteral("Me")}, {QStringLiteral("OU"), team}},
            .extensions = {{QStringLiteral("extendedKeyUsage"), QStringLiteral("codeSigning")}},
        });
        const QString bundle = signedBundle(selfSigned, {m_intermediate.certificate});
        QCOMPARE(verdict(check(bundle)), named(Kind::UntrustedSigner));
    }

    void leafMustBeForCodeSigning()
    {
        const PemIdentity withTeam = CertificateIssuer::issue(
            {.subject = {{QStringLiteral("CN"), QStringLiteral("x")}, {QStringLiteral("OU"), team}},
             .extensions = {{QStringLiteral("extendedKeyUsage"), QStringLiteral("serverAuth")}}},
            &m_intermediate);
        const CodeSignatureResult<Unit> result = check(signedBundle(withTeam));
        QCOMPARE(verdict(result), named(Kind::UntrustedSigner));
        QVERIFY(result.error().detail.contains(QStringLiteral("code signing")));
    }

    void expiredChainIsAcceptedWithoutTimestamp()
    {
        const PemIdentity expired =
            CertificateIssuer::makeCodeSigningLeaf(m_intermediate, team, QStringLiteral("Orvel"), -30);
        QCOMPARE(verdict(check(signedBundle(expired))), QStringLiteral("valid"));
    }

    // Each change to a signed bundle fails the check, and fails it for what the change is.
    void anyChangeBreaksTheSignature_data()
    {
        QTest::addColumn<Mutation>("mutate");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("resource changed")
            << Mutation([](const QString &b) { writeTestFile(b + "/Contents/Resources/a.txt", "resource A"); })
            << Kind::Modified;
        QTest::newRow("Info.plist changed")
            << Mutation([](const QString &b) { flipByte(b + "/Contents/Info.plist", 60); }) << Kind::Modified;
        QTest::newRow("executable changed")
            << Mutation([](const QString &b) { flipByte(b + "/Contents/MacOS/app", 3); }) << Kind::Modified;
        QTest::newRow("CodeResources changed")
            << Mutation([](const QString &b) { flipByte(b + "/Contents/_CodeSignature/CodeResources", 300); })
            << Kind::Modified;
        QTest::newRow("requirements changed")
            << Mutation([](const QString &b) { flipByte(b + "/Contents/_CodeSignature/CodeRequirements", 60); })
            << Kind::Modified;
        QTest::newRow("file added to Resources")
            << Mutation([](const QString &b) { writeTestFile(b + "/Contents/Resources/new.txt", "x"); })
            << Kind::Unsealed;
        QTest::newRow("file added to Contents")
            << Mutation([](const QString &b) { writeTestFile(b + "/Contents/new.txt", "x"); }) << Kind::Unsealed;
        QTest::newRow("file added to MacOS")
            << Mutation([](const QString &b) { writeTestFile(b + "/Contents/MacOS/helper", "x"); }) << Kind::Unsealed;
        QTest::newRow("file added to the root")
            << Mutation([](const QString &b) { writeTestFile(b + "/README", "x"); }) << Kind::Unsealed;
        QTest::newRow("file added to the signature")
            << Mutation([](const QString &b) { writeTestFile(b + "/Contents/_CodeSignature/extra", "x"); })
            << Kind::Unsealed;
        QTest::newRow("file added to nested code") << Mutation([](const QString &b) {
            writeTestFile(b + "/Contents/Frameworks/Kit.framework/Contents/Resources/new", "x");
        }) << Kind::Unsealed;
        QTest::newRow("nested code changed") << Mutation([](const QString &b) {
            writeTestFile(b + "/Contents/Frameworks/Kit.framework/Contents/Resources/kit.txt", "KIT");
        }) << Kind::Modified;
        QTest::newRow("sealed file removed")
            << Mutation([](const QString &b) { QFile::remove(b + "/Contents/Resources/sub/b.dat"); }) << Kind::Modified;
        QTest::newRow("nested code removed")
            << Mutation([](const QString &b) { QDir(b + "/Contents/Frameworks/Kit.framework").removeRecursively(); })
            << Kind::Modified;
        QTest::newRow("file replaced by a link") << Mutation([](const QString &b) {
            QFile::remove(b + "/Contents/Resources/sub/b.dat");
            QFile::link("../a.txt", b + "/Contents/Resources/sub/b.dat");
        }) << Kind::Modified;
        QTest::newRow("link retargeted") << Mutation([](const QString &b) {
            QFile::remove(b + "/Contents/Resources/link.txt");
            QFile::link("sub/b.dat", b + "/Contents/Resources/link.txt");
        }) << Kind::Modified;
        QTest::newRow("link replaced by a file") << Mutation([](const QString &b) {
            QFile::remove(b + "/Contents/Resources/link.txt");
            writeTestFile(b + "/Contents/Resources/link.txt", "resource a");
        }) << Kind::Modified;
        QTest::newRow("signature removed")
            << Mutation([](const QString &b) { QFile::remove(b + "/Contents/_CodeSignature/CodeSignature"); })
            << Kind::Malformed;
        QTest::newRow("alternate directory of the same type") << Mutation([](const QString &b) {
            QFile::copy(b + "/Contents/_CodeSignature/CodeDirectory",
                        b + "/Contents/_CodeSignature/CodeRequirements-1");
        }) << Kind::Malformed;
    }

    void anyChangeBreaksTheSignature()
    {
        QFETCH(Mutation, mutate);
        QFETCH(Kind, kind);
        const QString bundle = signedBundle(m_leaf);
        QCOMPARE(verdict(check(bundle)), QStringLiteral("valid"));
        mutate(bundle);
        QCOMPARE(verdict(check(bundle)), named(kind));
    }

    void harmlessChangesKeepTheSignature()
    {
        const QString bundle = signedBundle(m_leaf);
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/.DS_Store"), "finder");
        QFile::remove(bundle + QStringLiteral("/Contents/Resources/de.lproj/Localizable.strings")); // optional
        QCOMPARE(verdict(check(bundle)), QStringLiteral("valid"));
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
                if (check(bundle))
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
                QVERIFY(!check(bundle));
            }
            for (int round = 0; round < 20; ++round) {
                QByteArray garbage(int(random.bounded(1, 600)), Qt::Uninitialized);
                for (char &c : garbage)
                    c = char(random.bounded(256));
                if (round % 2)
                    garbage.replace(0, 4, QByteArray::fromHex("fade0c02"));
                writeTestFile(path, garbage);
                QVERIFY(!check(bundle));
            }
            writeTestFile(path, original);
        }
        QCOMPARE(verdict(check(bundle)), QStringLiteral("valid"));
    }

    // Links are signed as they are, so only where they lead on disk can refuse them: read as
    // text, "up/Resources/../../../../outside.txt" stays inside when "up" is a link to "..".
    void linksMustStayInsideTheBundleOnceResolved_data()
    {
        QTest::addColumn<Mutation>("links");
        QTest::addColumn<QString>("verdict");
        const QString outside = named(Kind::Unsealed);
        QTest::newRow("plainly out") << Mutation([](const QString &resources) {
            QFile::link("../../../../outside.txt", resources + "/escape");
        }) << outside;
        QTest::newRow("out through a link to its parent") << Mutation([](const QString &resources) {
            QFile::link("..", resources + "/up");
            QFile::link("up/Resources/../../../../outside.txt", resources + "/escape");
        }) << outside;
        QTest::newRow("a link to the bundle itself")
            << Mutation([](const QString &resources) { QFile::link("../..", resources + "/root"); }) << outside;
        QTest::newRow("links in a loop") << Mutation([](const QString &resources) {
            QFile::link("second", resources + "/first");
            QFile::link("first", resources + "/second");
        }) << outside;
        QTest::newRow("a chain that stays inside") << Mutation([](const QString &resources) {
            QFile::link("..", resources + "/up");
            QFile::link("up/Resources/a.txt", resources + "/chained");
        }) << QStringLiteral("valid");
    }
    void linksMustStayInsideTheBundleOnceResolved()
    {
        QFETCH(Mutation, links);
        QFETCH(QString, verdict);
        const QString bundle = m_folder.filePath(QStringLiteral("links%1/Lumen.app").arg(++m_bundles));
        BundleFactory::write(bundle, BundleFactory::info(lumenID, QString(), QStringLiteral("1")));
        writeTestFile(bundle + QStringLiteral("/Contents/Resources/a.txt"), "resource a");
        writeTestFile(m_folder.filePath(QStringLiteral("outside.txt")), "not the bundle's");
        links(bundle + QStringLiteral("/Contents/Resources"));
        QVERIFY(!BundleSigner(m_leaf, {m_intermediate.certificate}).sign(bundle));
        const CodeSignatureResult<Unit> result = check(bundle);
        QCOMPARE(::verdict(result), verdict);
        if (!result)
            QVERIFY(result.error().detail.contains(QStringLiteral("outside the bundle")));
    }

    void machOExecutablesAreRefused()
    {
        const QString bundle = signedBundle(m_leaf, {}, "\xcf\xfa\xed\xfe rest of a binary");
        QCOMPARE(
            check(bundle).error(),
            CodeSignatureFailure::of(Kind::Unsupported, QStringLiteral("embedded signatures are not supported yet")));
    }

    void catalogValuesCannotWidenTheRequirement_data()
    {
        QTest::addColumn<QString>("bundleID");
        QTest::addColumn<QString>("teamID");
        QTest::newRow("quote in the identifier") << lumenID + QStringLiteral("\" or identifier \"x") << team;
        QTest::newRow("quote in the team")
            << lumenID << team + QStringLiteral("\" or anchor apple generic and identifier \"") + lumenID;
        QTest::newRow("backslash in the team") << lumenID << team + QStringLiteral("\\");
    }

    void catalogValuesCannotWidenTheRequirement()
    {
        QFETCH(QString, bundleID);
        QFETCH(QString, teamID);
        const QString bundle = signedBundle(m_leaf);
        QCOMPARE(verdict(check(bundle, bundleID, teamID)), named(Kind::UnsafeCatalogValue));
        QCOMPARE(verdict(CatalogRequirement::compile(catalogApp(bundleID, teamID))), named(Kind::UnsafeCatalogValue));
    }

    void catalogRequirementText()
    {
        QCOMPARE(CatalogRequirement::text(catalogApp(QStringLiteral("com.example.app"), QStringLiteral("ABCDE12345"))),
                 QStringLiteral("anchor apple generic and identifier \"com.example.app\" and certificate "
                                "leaf[subject.OU] = \"ABCDE12345\""));
    }

    void requirementLanguage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("compiles");

        QTest::newRow("designated") << CatalogRequirement::text(catalogApp(lumenID, team)) << true;
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
        QCOMPARE(verdict(Requirement::compile(text)),
                 compiles ? QStringLiteral("valid") : named(Kind::InvalidRequirement));
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
        QTest::addColumn<QString>("outcome"); // "valid", or the failure's kind
        const QString valid = QStringLiteral("valid");
        const QString malformed = named(Kind::Malformed);
        const QString unsupported = named(Kind::Unsupported);

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
        QTest::newRow("well formed") << directory(0x20200, 32, 2, 3, 1, 100, 0, 0) << valid;
        QTest::newRow("pages") << directory(0x20200, 32, 2, 3, 3, 9000, 0, 12) << valid;
        QTest::newRow("slot count off") << directory(0x20200, 32, 2, 3, 2, 9000, 0, 12) << malformed;
        QTest::newRow("hash size wrong for type") << directory(0x20200, 20, 2, 3, 1, 100, 0, 0) << malformed;
        QTest::newRow("SHA-512 not accepted") << directory(0x20200, 64, 5, 3, 1, 100, 0, 0) << unsupported;
        QTest::newRow("version too old") << directory(0x20000, 32, 2, 3, 1, 100, 0, 0) << unsupported;
        QTest::newRow("version too new") << directory(0x30000, 32, 2, 3, 1, 100, 0, 0) << unsupported;
        QTest::newRow("identifier outside") << directory(0x20200, 32, 2, 3, 1, 100, 100000, 0) << malformed;
        QTest::newRow("code slot for an empty limit") << directory(0x20200, 32, 2, 3, 1, 0, 0, 0) << malformed;
        QByteArray huge = directory(0x20200, 32, 2, 3, 1, 100, 0, 0);
        qToBigEndian<quint32>(0xFFFFFFF0u, huge.data() + 24); // special slots reaching below the blob
        QTest::newRow("special slots underflow") << huge << malformed;
        QByteArray longer = directory(0x20200, 32, 2, 3, 1, 100, 0, 0);
        longer.append("xx");
        QTest::newRow("length disagrees") << longer << malformed;
    }

    void handWrittenDirectories()
    {
        QFETCH(QByteArray, blob);
        QFETCH(QString, outcome);
        const CodeSignatureResult<CodeDirectory> directory = CodeDirectory::parse(blob);
        QCOMPARE(verdict(directory), outcome);
        if (directory)
            QCOMPARE(directory->identifier, QStringLiteral("com.hand.made"));
    }
};

QTEST_GUILESS_MAIN(CodeSignatureTest)
#include "tst_codesignature.moc"
