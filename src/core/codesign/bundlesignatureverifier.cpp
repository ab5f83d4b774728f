#include "codesign/bundlesignatureverifier.h"

#include "codesign/certificatesubject.h"
#include "codesign/codedirectory.h"
#include "codesign/codesignlog.h"
#include "codesign/requirement.h"
#include "codesign/resourcecheck.h"
#include "codesign/resourceseal.h"
#include "codesign/signaturecomponents.h"
#include "codesign/signerchain.h"
#include "platform/propertylist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <openssl/x509.h>

namespace {

using Kind = CodeSignatureFailure::Kind;
using Result = CodeSignatureResult<Unit>;

CodeSignatureFailure fail(Kind kind, const QString &why)
{
    return CodeSignatureFailure::of(kind, why);
}

// Nested code inside nested code: real bundles go two or three levels deep.
constexpr int maximumNesting = 8;

// Regular files the platform tolerates beside Contents/ at a bundle's root.
const QStringList rootFilesAllowed{QStringLiteral(".LSOverride"), QStringLiteral(".DS_Store"), QStringLiteral("Icon\r"),
                                   QStringLiteral(".SoftwareDepot.tracking")};

enum SpecialSlot {
    InfoSlot = 1,
    RequirementsSlot = 2,
    ResourcesSlot = 3,
    EntitlementsSlot = 5,
    EntitlementsDERSlot = 7
};
constexpr int highestKnownSlot = 11;

bool isRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

bool isMachO(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8);
    static const QList<QByteArray> magics{QByteArray::fromHex("feedface"), QByteArray::fromHex("feedfacf"),
                                          QByteArray::fromHex("cefaedfe"), QByteArray::fromHex("cffaedfe"),
                                          QByteArray::fromHex("cafebabe"), QByteArray::fromHex("bebafeca")};
    return magics.contains(head.left(4));
}

Result checkRoot(const QString &bundle)
{
    const QDir root(bundle);
    for (const QFileInfo &entry :
         root.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == QLatin1String("Contents") && entry.isDir() && !entry.isSymLink())
            continue;
        const bool harmless = rootFilesAllowed.contains(entry.fileName()) && entry.isFile() && !entry.isSymLink() &&
                              !entry.isExecutable();
        if (!harmless)
            return fail(Kind::Unsealed,
                        QStringLiteral("unsealed content in the bundle root: %1").arg(entry.fileName()));
    }
    if (!root.exists(QStringLiteral("Contents")))
        return fail(Kind::NotABundle, QStringLiteral("the bundle has no Contents folder"));
    return Unit();
}

// What a bundle's signature covers besides the seal: Info.plist and the main executable.
struct Layout
{
    QString contents;
    QByteArray info;        // Info.plist's bytes, as special slot -1 seals them
    QString mainExecutable; // relative to Contents/
    QString executable;     // its absolute path
};

// A bundle folder holding only Contents/ (and harmless Finder files), with Info.plist and
// the main executable it names, both regular files, the executable not Mach-O.
CodeSignatureResult<Layout> readLayout(const QString &bundle)
{
    const QFileInfo bundleInfo(bundle);
    if (bundleInfo.isSymLink() || !bundleInfo.isDir())
        return fail(Kind::NotABundle, QStringLiteral("not a bundle folder"));
    if (Result root = checkRoot(bundle); !root)
        return std::move(root).error();

    Layout layout;
    layout.contents = bundle + QStringLiteral("/Contents");
    const QString infoPath = layout.contents + QStringLiteral("/Info.plist");
    QFile infoFile(infoPath);
    if (!isRegularFile(infoPath) || !infoFile.open(QIODevice::ReadOnly))
        return fail(Kind::NotABundle, QStringLiteral("Info.plist is missing or not a regular file"));
    layout.info = infoFile.readAll();
    const std::optional<QVariant> infoValue = PropertyList::parse(layout.info);
    if (!infoValue || infoValue->typeId() != QMetaType::QVariantMap)
        return fail(Kind::Malformed, QStringLiteral("Info.plist is not a property list dictionary"));
    const QString executableName = infoValue->toMap().value(QStringLiteral("CFBundleExecutable")).toString();
    if (executableName.isEmpty() || executableName.contains(u'/') || executableName == QLatin1String(".") ||
        executableName == QLatin1String(".."))
        return fail(Kind::NotABundle, QStringLiteral("Info.plist names no main executable"));
    layout.mainExecutable = QStringLiteral("MacOS/") + executableName;
    layout.executable = layout.contents + u'/' + layout.mainExecutable;
    if (!isRegularFile(layout.executable))
        return fail(Kind::NotABundle, QStringLiteral("the main executable is missing or not a regular file"));
    if (isMachO(layout.executable))
        return fail(Kind::Unsupported, QStringLiteral("embedded signatures are not supported yet"));
    return layout;
}

// The preference among several CodeDirectories: SHA-384, SHA-256, truncated SHA-256, SHA-1.
int strength(Digest::Type type)
{
    switch (type) {
    case Digest::Type::SHA384:
        return 4;
    case Digest::Type::SHA256:
        return 3;
    case Digest::Type::SHA256Truncated:
        return 2;
    case Digest::Type::SHA1:
        return 1;
    }
    return 0;
}

QByteArray digestOID(Digest::Type type)
{
    switch (type) {
    case Digest::Type::SHA1:
        return "1.3.14.3.2.26";
    case Digest::Type::SHA256:
    case Digest::Type::SHA256Truncated:
        return "2.16.840.1.101.3.4.2.1";
    case Digest::Type::SHA384:
        return "2.16.840.1.101.3.4.2.2";
    }
    return {};
}

// The signed CodeDirectory first, then its alternates, each of its own hash type, all of
// one identity, none ad hoc.
CodeSignatureResult<QList<CodeDirectory>> readDirectories(const SignatureComponents &components)
{
    QList<CodeDirectory> directories;
    for (const QByteArray &bytes : QList<QByteArray>{components.codeDirectory} + components.alternates) {
        CodeSignatureResult<CodeDirectory> directory = CodeDirectory::parse(bytes);
        if (!directory)
            return std::move(directory).error();
        for (const CodeDirectory &earlier : std::as_const(directories)) {
            if (earlier.hashType == directory->hashType)
                return fail(Kind::Malformed, QStringLiteral("two code directories have the same hash type"));
            if (earlier.identifier != directory->identifier || earlier.teamID != directory->teamID)
                return fail(Kind::Malformed, QStringLiteral("the code directories disagree about the identity"));
        }
        directories.append(std::move(directory).value());
    }
    for (const CodeDirectory &directory : std::as_const(directories)) {
        if (directory.flags & CodeDirectory::adhocFlag)
            return fail(Kind::Unsigned, QStringLiteral("the signature is ad hoc: it names no signer"));
    }
    return directories;
}

// The directory whose hash type is strongest: the one identity and requirement checks use.
const CodeDirectory &strongest(const QList<CodeDirectory> &directories)
{
    const CodeDirectory *best = &directories.first();
    for (const CodeDirectory &directory : directories) {
        if (strength(directory.hashType) > strength(best->hashType))
            best = &directory;
    }
    return *best;
}

// The CMS signs the first CodeDirectory; the others are bound through its hash agility. The
// team the directories name must be the signer's.
CodeSignatureResult<SignerChain> verifySigner(const SignatureComponents &components,
                                              const QList<CodeDirectory> &directories, const TrustAnchors &anchors)
{
    CodeSignatureResult<SignerChain> chain = SignerChain::verify(components.cms, directories.first().bytes, anchors);
    if (!chain)
        return chain;
    if (directories.size() > 1) {
        if (chain->agility().size() != directories.size())
            return fail(Kind::Unsealed, QStringLiteral("the signature does not bind every code directory"));
        for (const CodeDirectory &directory : directories) {
            const std::pair<QByteArray, QByteArray> expected{digestOID(directory.hashType), directory.cdhash()};
            if (!chain->agility().contains(expected))
                return fail(Kind::Unsealed, QStringLiteral("the signature does not bind every code directory"));
        }
    }
    const CodeDirectory &best = strongest(directories);
    if (best.teamID && certificateSubject(chain->leaf(), QStringLiteral("OU")) != best.teamID)
        return fail(Kind::UntrustedSigner,
                    QStringLiteral("the team identifier does not match the signer's certificate"));
    return chain;
}

// Every CodeDirectory's special slots against the components they name.
Result checkSpecialSlots(const CodeDirectory &directory, const QByteArray &info, const SignatureComponents &components)
{
    const std::pair<int, std::optional<QByteArray>> known[] = {
        {InfoSlot, info},
        {RequirementsSlot, components.requirements},
        {ResourcesSlot, components.resources},
        {EntitlementsSlot, components.entitlements},
        {EntitlementsDERSlot, components.entitlementsDER},
    };
    for (const auto &[slot, component] : known) {
        const std::optional<QByteArray> recorded = directory.specialSlot(slot);
        const bool required = slot == InfoSlot || slot == RequirementsSlot || slot == ResourcesSlot;
        if (!recorded && (required || component))
            return fail(Kind::Unsealed, QStringLiteral("the code directory does not seal special slot -%1").arg(slot));
        if (recorded && (!component || Digest::of(directory.hashType, *component) != *recorded))
            return fail(Kind::Modified, QStringLiteral("special slot -%1 does not match its component").arg(slot));
    }
    for (int slot = 1; slot <= highestKnownSlot; ++slot) {
        const bool checked = slot == InfoSlot || slot == RequirementsSlot || slot == ResourcesSlot ||
                             slot == EntitlementsSlot || slot == EntitlementsDERSlot;
        if (!checked && directory.specialSlot(slot))
            return fail(Kind::Unsupported,
                        QStringLiteral("special slot -%1 names a component that is not supported").arg(slot));
    }
    if (directory.specialSlots.size() > highestKnownSlot)
        return fail(Kind::Unsupported, QStringLiteral("the code directory has unknown special slots"));
    return Unit();
}

Result checkExecutable(const CodeDirectory &directory, const QString &executable)
{
    QFile file(executable);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Kind::NotABundle, QStringLiteral("the main executable cannot be read"));
    if (quint64(file.size()) != directory.codeLimit)
        return fail(Kind::Modified, QStringLiteral("the code limit does not match the main executable's size"));
    const quint64 page = directory.pageSizeLog2 == 0 ? directory.codeLimit : (quint64(1) << directory.pageSizeLog2);
    uchar *mapped = directory.codeLimit > 0 ? file.map(0, qint64(directory.codeLimit)) : nullptr;
    if (directory.codeLimit > 0 && !mapped)
        return fail(Kind::NotABundle, QStringLiteral("the main executable cannot be read"));
    for (qsizetype i = 0; i < directory.codeSlots.size(); ++i) {
        const quint64 start = quint64(i) * page;
        const quint64 length = std::min(page, directory.codeLimit - start);
        const QByteArrayView bytes(reinterpret_cast<const char *>(mapped) + start, qsizetype(length));
        if (Digest::of(directory.hashType, bytes) != directory.codeSlots[i])
            return fail(Kind::Modified, QStringLiteral("the main executable was modified (page %1)").arg(i));
    }
    return Unit();
}

// What every CodeDirectory records directly: the special slots and the executable's pages.
Result checkDirectories(const QList<CodeDirectory> &directories, const Layout &layout,
                        const SignatureComponents &components)
{
    for (const CodeDirectory &directory : directories) {
        if (Result slots = checkSpecialSlots(directory, layout.info, components); !slots)
            return slots;
        if (Result pages = checkExecutable(directory, layout.executable); !pages)
            return pages;
    }
    return Unit();
}

Result checkRequirement(const Requirement &requirement, const QList<CodeDirectory> &directories,
                        const SignerChain &chain)
{
    const CodeDirectory &best = strongest(directories);
    const RequirementContext context{.identifier = best.identifier,
                                     .chain = chain.certificates(),
                                     .anchorTrusted = true,
                                     .cdhash = best.cdhash().left(20)};
    if (!requirement.evaluate(context))
        return fail(Kind::RequirementNotMet, QStringLiteral("the signature does not satisfy the requirement"));
    return Unit();
}

// Every file under Contents/ against the seal, hashed with every directory's hash type.
Result checkResources(const QString &bundle, const Layout &layout, const SignatureComponents &components,
                      const QList<CodeDirectory> &directories, const ResourceCheck::NestedCheck &nestedCheck)
{
    const CodeSignatureResult<ResourceSeal> seal = ResourceSeal::parse(components.resources);
    if (!seal)
        return seal.error();
    QList<Digest::Type> types;
    for (const CodeDirectory &directory : directories)
        types.append(directory.hashType);
    return ResourceCheck::check(bundle, layout.mainExecutable, *seal, types, nestedCheck);
}

} // namespace

BundleSignatureVerifier::BundleSignatureVerifier(TrustAnchors anchors) : m_anchors(std::move(anchors)) {}

CodeSignatureResult<Unit> BundleSignatureVerifier::check(const QString &bundle, const Requirement &requirement) const
{
    const QString path = QDir::cleanPath(QFileInfo(bundle).absoluteFilePath());
    Result result = verify(path, requirement, 0);
    if (!result)
        qCDebug(lcCodesign) << path << "rejected:" << CodeSignatureFailure::name(result.error().kind)
                            << result.error().detail;
    return result;
}

CodeSignatureResult<QString> BundleSignatureVerifier::team(const QString &bundle) const
{
    const QString path = QDir::cleanPath(QFileInfo(bundle).absoluteFilePath());
    // Any signer will do here: what is asked is who signed, once the signature holds.
    const CodeSignatureResult<Requirement> anySigner = Requirement::compile(QStringLiteral("always"));
    std::optional<QString> signer;
    if (Result result = verify(path, *anySigner, 0, &signer); !result)
        return result.error();
    if (!signer || signer->isEmpty())
        return fail(Kind::RequirementNotMet, QStringLiteral("the signing certificate names no team"));
    return *signer;
}

CodeSignatureResult<Unit> BundleSignatureVerifier::verify(const QString &bundle, const Requirement &requirement,
                                                          int depth, std::optional<QString> *team) const
{
    if (depth > maximumNesting)
        return fail(Kind::Unsupported, QStringLiteral("nested code is nested too deeply"));
    const CodeSignatureResult<Layout> layout = readLayout(bundle);
    if (!layout)
        return layout.error();
    const CodeSignatureResult<SignatureComponents> components =
        SignatureComponents::read(layout->contents + QStringLiteral("/_CodeSignature"));
    if (!components)
        return components.error();
    const CodeSignatureResult<QList<CodeDirectory>> directories = readDirectories(*components);
    if (!directories)
        return directories.error();
    const CodeSignatureResult<SignerChain> chain = verifySigner(*components, *directories, m_anchors);
    if (!chain)
        return chain.error();
    if (Result recorded = checkDirectories(*directories, *layout, *components); !recorded)
        return recorded;
    if (Result satisfied = checkRequirement(requirement, *directories, *chain); !satisfied)
        return satisfied;
    if (team)
        *team = certificateSubject(chain->leaf(), QStringLiteral("OU"));
    const ResourceCheck::NestedCheck nestedCheck = [this, depth](const QString &nested, const QString &text) -> Result {
        const CodeSignatureResult<Requirement> nestedRequirement = Requirement::compile(text);
        if (!nestedRequirement)
            return nestedRequirement.error();
        return verify(nested, *nestedRequirement, depth + 1);
    };
    return checkResources(bundle, *layout, *components, *directories, nestedCheck);
}
