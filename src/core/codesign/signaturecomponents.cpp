#include "codesign/signaturecomponents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Signature files are small; anything larger is not a signature of ours to read into memory.
constexpr qint64 maximumComponentSize = 64 * 1024 * 1024;
constexpr int maximumAlternates = 5;

using Kind = CodeSignatureFailure::Kind;

CodeSignatureFailure fail(Kind kind, const QString &why)
{
    return CodeSignatureFailure::of(kind, why);
}

std::optional<QByteArray> readRegular(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > maximumComponentSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

CodeSignatureResult<SignatureComponents> SignatureComponents::read(const QString &folder)
{
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink() || !folderInfo.isDir())
        return fail(Kind::Unsigned, QStringLiteral("the bundle is not signed (no _CodeSignature folder)"));
    const QDir directory(folder);
    SignatureComponents components;
    QSet<QString> used;
    auto required = [&](const QString &name, QByteArray &into) {
        const std::optional<QByteArray> bytes = readRegular(directory.filePath(name));
        if (bytes) {
            into = *bytes;
            used.insert(name);
        }
        return bytes.has_value();
    };
    if (!required(QStringLiteral("CodeDirectory"), components.codeDirectory))
        return fail(Kind::Malformed, QStringLiteral("the signature has no readable CodeDirectory"));
    if (!required(QStringLiteral("CodeRequirements"), components.requirements))
        return fail(Kind::Malformed, QStringLiteral("the signature has no readable CodeRequirements"));
    if (!required(QStringLiteral("CodeResources"), components.resources))
        return fail(Kind::Malformed, QStringLiteral("the signature has no readable CodeResources"));
    if (!required(QStringLiteral("CodeSignature"), components.cms))
        return fail(Kind::Malformed, QStringLiteral("the signature has no readable CodeSignature"));
    for (int i = 1; i <= maximumAlternates; ++i) {
        QByteArray alternate;
        if (!required(QStringLiteral("CodeRequirements-%1").arg(i), alternate))
            break;
        components.alternates.append(alternate);
    }
    for (const auto &[name, into] : {std::pair{QStringLiteral("CodeEntitlements"), &components.entitlements},
                                     std::pair{QStringLiteral("CodeEntitlementDER"), &components.entitlementsDER}}) {
        QByteArray bytes;
        if (required(name, bytes))
            *into = bytes;
    }
    const QStringList entries =
        directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (!used.contains(entry))
            return fail(Kind::Unsealed, QStringLiteral("unsealed content in _CodeSignature: %1").arg(entry));
    }
    return components;
}
