#include "codesign/bundlesignatureverifier.h"

#include "codesign/certificatesubject.h"

#include "codesign/codedirectory.h"
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

std::optional<QString> checkRoot(const QString &bundle)
{
    const QDir root(bundle);
    for (const QFileInfo &entry :
         root.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == QLatin1String("Contents") && entry.isDir() && !entry.isSymLink())
            continue;
        const bool harmless = rootFilesAllowed.contains(entry.fileName()) && entry.isFile() && !entry.isSymLink() &&
                              !entry.isExecutable();
        if (!harmless)
            return QStringLiteral("unsealed content in the bundle root: %1").arg(entry.fileName());
    }
    if (!root.exists(QStringLiteral("Contents")))
        return QStringLiteral("the bundle has no Contents folder");
    return std::nullopt;
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

// Every CodeDirectory's special slots against the components they name.
std::optional<QString> checkSpecialSlots(const CodeDirectory &directory, const QByteArray &info,
                                         const SignatureComponents &components)
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
            return QStringLiteral("the code directory does not seal special slot -%1").arg(slot);
        if (recorded && (!component || Digest::of(directory.hashType, *component) != *recorded))
            return QStringLiteral("special slot -%1 does not match its component").arg(slot);
    }
    for (int slot = 1; slot <= highestKnownSlot; ++slot) {
        const bool checked = slot == InfoSlot || slot == RequirementsSlot || slot == ResourcesSlot ||
                             slot == EntitlementsSlot || slot == EntitlementsDERSlot;
        if (!checked && directory.specialSlot(slot))
            return QStringLiteral("special slot -%1 names a component that is not supported").arg(slot);
    }
    if (directory.specialSlots.size() > highestKnownSlot)
        return QStringLiteral("the code directory has unknown special slots");
    return std::nullopt;
}

std::optional<QString> checkExecutable(const CodeDirectory &directory, const QString &executable)
{
    QFile file(executable);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the main executable cannot be read");
    if (quint64(file.size()) != directory.codeLimit)
        return QStringLiteral("the code limit does not match the main executable's size");
    const quint64 page = directory.pageSizeLog2 == 0 ? directory.codeLimit : (quint64(1) << directory.pageSizeLog2);
    uchar *mapped = directory.codeLimit > 0 ? file.map(0, qint64(directory.codeLimit)) : nullptr;
    if (directory.codeLimit > 0 && !mapped)
        return QStringLiteral("the main executable cannot be read");
    for (qsizetype i = 0; i < directory.codeSlots.size(); ++i) {
        const quint64 start = quint64(i) * page;
        const quint64 length = std::min(page, directory.codeLimit - start);
        const QByteArrayView bytes(reinterpret_cast<const char *>(mapped) + start, qsizetype(length));
        if (Digest::of(directory.hashType, bytes) != directory.codeSlots[i])
            return QStringLiteral("the main executable was modified (page %1)").arg(i);
    }
    return std::nullopt;
}

} // namespace

BundleSignatureVerifier::BundleSignatureVerifier(TrustAnchors anchors) : m_anchors(std::move(anchors)) {}

std::optional<QString> BundleSignatureVerifier::failure(const QString &bundle, const Requirement &requirement) const
{
    return verify(QDir::cleanPath(QFileInfo(bundle).absoluteFilePath()), requirement, 0);
}

std::optional<QString> BundleSignatureVerifier::verify(const QString &bundle, const Requirement &requirement,
                                                       int depth) const
{
    if (depth > maximumNesting)
        return QStringLiteral("nested code is nested too deeply");
    const QFileInfo bundleInfo(bundle);
    if (bundleInfo.isSymLink() || !bundleInfo.isDir())
        return QStringLiteral("not a bundle folder");
    if (std::optional<QString> failure = checkRoot(bundle))
        return failure;

    // Layout: Info.plist and the main executable it names, both regular files.
    const QString contents = bundle + QStringLiteral("/Contents");
    const QString infoPath = contents + QStringLiteral("/Info.plist");
    QFile infoFile(infoPath);
    if (!isRegularFile(infoPath) || !infoFile.open(QIODevice::ReadOnly))
        return QStringLiteral("Info.plist is missing or not a regular file");
    const QByteArray info = infoFile.readAll();
    const std::optional<QVariant> infoValue = PropertyList::parse(info);
    if (!infoValue || infoValue->typeId() != QMetaType::QVariantMap)
        return QStringLiteral("Info.plist is not a property list dictionary");
    const QString executableName = infoValue->toMap().value(QStringLiteral("CFBundleExecutable")).toString();
    if (executableName.isEmpty() || executableName.contains(u'/') || executableName == QLatin1String(".") ||
        executableName == QLatin1String(".."))
        return QStringLiteral("Info.plist names no main executable");
    const QString mainExecutable = QStringLiteral("MacOS/") + executableName;
    const QString executable = contents + u'/' + mainExecutable;
    if (!isRegularFile(executable))
        return QStringLiteral("the main executable is missing or not a regular file");
    if (isMachO(executable))
        return QStringLiteral("embedded signatures are not supported yet");

    QString reason;
    const std::optional<SignatureComponents> components =
        SignatureComponents::read(contents + QStringLiteral("/_CodeSignature"), &reason);
    if (!components)
        return reason;

    // CodeDirectories: the signed one and its alternates, each of its own hash type.
    QList<CodeDirectory> directories;
    for (const QByteArray &bytes : QList<QByteArray>{components->codeDirectory} + components->alternates) {
        std::optional<CodeDirectory> directory = CodeDirectory::parse(bytes, &reason);
        if (!directory)
            return reason;
        for (const CodeDirectory &earlier : std::as_const(directories)) {
            if (earlier.hashType == directory->hashType)
                return QStringLiteral("two code directories have the same hash type");
            if (earlier.identifier != directory->identifier || earlier.teamID != directory->teamID)
                return QStringLiteral("the code directories disagree about the identity");
        }
        directories.append(std::move(*directory));
    }
    const CodeDirectory &signedDirectory = directories.first();
    const CodeDirectory *best = &signedDirectory;
    for (const CodeDirectory &directory : std::as_const(directories)) {
        if (directory.flags & CodeDirectory::adhocFlag)
            return QStringLiteral("the signature is ad hoc: it names no signer");
        if (strength(directory.hashType) > strength(best->hashType))
            best = &directory;
    }

    // The CMS signs the first CodeDirectory; the others are bound through its hash agility.
    const std::optional<SignerChain> chain =
        SignerChain::verify(components->cms, signedDirectory.bytes, m_anchors, &reason);
    if (!chain)
        return reason;
    if (directories.size() > 1) {
        if (chain->agility().size() != directories.size())
            return QStringLiteral("the signature does not bind every code directory");
        for (const CodeDirectory &directory : std::as_const(directories)) {
            const std::pair<QByteArray, QByteArray> expected{digestOID(directory.hashType), directory.cdhash()};
            if (!chain->agility().contains(expected))
                return QStringLiteral("the signature does not bind every code directory");
        }
    }
    if (best->teamID && certificateSubject(chain->leaf(), QStringLiteral("OU")) != best->teamID)
        return QStringLiteral("the team identifier does not match the signer's certificate");

    for (const CodeDirectory &directory : std::as_const(directories)) {
        if (std::optional<QString> failure = checkSpecialSlots(directory, info, *components))
            return failure;
        if (std::optional<QString> failure = checkExecutable(directory, executable))
            return failure;
    }

    const RequirementContext context{best->identifier, chain->certificates(), true, best->cdhash().left(20)};
    if (!requirement.evaluate(context))
        return QStringLiteral("the signature does not satisfy the requirement");

    const std::optional<ResourceSeal> seal = ResourceSeal::parse(components->resources, &reason);
    if (!seal)
        return reason;
    QList<Digest::Type> types;
    for (const CodeDirectory &directory : std::as_const(directories))
        types.append(directory.hashType);
    const ResourceCheck::NestedCheck nestedCheck = [this, depth](const QString &nested,
                                                                 const QString &text) -> std::optional<QString> {
        QString why;
        const std::optional<Requirement> nestedRequirement = Requirement::compile(text, &why);
        if (!nestedRequirement)
            return why;
        return verify(nested, *nestedRequirement, depth + 1);
    };
    return ResourceCheck::check(bundle, mainExecutable, *seal, types, nestedCheck);
}
