#include "codesign/codedirectory.h"

#include "codesign/bigendian.h"

namespace {

constexpr quint32 earliestVersion = 0x20001;
constexpr quint32 latestVersion = 0x2F000;
constexpr quint32 scatterVersion = 0x20100;
constexpr quint32 teamVersion = 0x20200;
constexpr quint32 codeLimit64Version = 0x20300;

CodeSignatureFailure malformed(const char *why)
{
    return CodeSignatureFailure::of(CodeSignatureFailure::Kind::Malformed, QString::fromLatin1(why));
}

CodeSignatureFailure unsupported(const char *why)
{
    return CodeSignatureFailure::of(CodeSignatureFailure::Kind::Unsupported, QString::fromLatin1(why));
}

// A NUL-terminated string that starts at offset and ends inside the blob.
std::optional<QString> terminatedString(const QByteArray &blob, quint32 offset)
{
    if (offset >= quint32(blob.size()))
        return std::nullopt;
    const qsizetype end = blob.indexOf('\0', offset);
    if (end < 0)
        return std::nullopt;
    return QString::fromUtf8(blob.constData() + offset, end - offset);
}

} // namespace

CodeSignatureResult<CodeDirectory> CodeDirectory::parse(const QByteArray &blob)
{
    const BigEndian read(blob);
    if (read.u32(0) != magic)
        return malformed("the code directory has the wrong magic number");
    const std::optional<quint32> length = read.u32(4);
    if (!length || *length != quint32(blob.size()) || *length < 0x2C)
        return malformed("the code directory's length does not match its bytes");

    CodeDirectory directory;
    directory.bytes = blob;
    directory.version = *read.u32(8);
    if (directory.version < earliestVersion || directory.version > latestVersion)
        return unsupported("the code directory's version is not supported");
    directory.flags = *read.u32(12);
    const quint32 hashOffset = *read.u32(16);
    const quint32 identOffset = *read.u32(20);
    const quint32 specialCount = *read.u32(24);
    const quint32 codeCount = *read.u32(28);
    const quint32 codeLimit32 = *read.u32(32);
    const quint8 hashSize = *read.u8(36);
    const std::optional<Digest::Type> hashType = Digest::fromHashType(*read.u8(37));
    directory.pageSizeLog2 = *read.u8(39);
    if (!hashType)
        return unsupported("the code directory's hash type is not supported");
    directory.hashType = *hashType;
    if (hashSize != Digest::size(*hashType))
        return malformed("the code directory's hash size does not fit its hash type");
    if (directory.pageSizeLog2 > 30)
        return malformed("the code directory's page size is out of range");

    // Fields beyond the header of the recorded version are absent, whatever bytes follow.
    if (directory.version >= scatterVersion) {
        const std::optional<quint32> scatter = read.u32(0x2C);
        if (!scatter)
            return malformed("the code directory's header is cut short");
        if (*scatter != 0)
            return unsupported("scattered code directories are not supported");
    }
    if (directory.version >= teamVersion) {
        const std::optional<quint32> teamOffset = read.u32(0x30);
        if (!teamOffset)
            return malformed("the code directory's header is cut short");
        if (*teamOffset != 0) {
            directory.teamID = terminatedString(blob, *teamOffset);
            if (!directory.teamID)
                return malformed("the code directory's team identifier is not a string inside it");
        }
    }
    directory.codeLimit = codeLimit32;
    if (directory.version >= codeLimit64Version) {
        const std::optional<quint64> limit64 = read.u64(0x38);
        if (!limit64)
            return malformed("the code directory's header is cut short");
        if (*limit64 != 0)
            directory.codeLimit = *limit64;
    }

    const std::optional<QString> identifier = terminatedString(blob, identOffset);
    if (!identifier)
        return malformed("the code directory's identifier is not a string inside it");
    directory.identifier = *identifier;

    const quint64 specialBytes = quint64(specialCount) * hashSize;
    if (specialBytes > hashOffset ||
        !read.contains(hashOffset - specialBytes, specialBytes + quint64(codeCount) * hashSize))
        return malformed("the code directory's hash slots lie outside it");
    const quint64 expectedCodeSlots =
        directory.pageSizeLog2 == 0
            ? (directory.codeLimit > 0 ? 1 : 0)
            : (directory.codeLimit == 0 ? 0 : ((directory.codeLimit - 1) >> directory.pageSizeLog2) + 1);
    if (codeCount != expectedCodeSlots || (directory.pageSizeLog2 != 0 && directory.codeLimit == 0))
        return malformed("the code directory's slot count does not fit its code limit");

    for (quint32 k = 1; k <= specialCount; ++k)
        directory.specialSlots.append(blob.mid(qsizetype(hashOffset - quint64(k) * hashSize), hashSize));
    for (quint32 i = 0; i < codeCount; ++i)
        directory.codeSlots.append(blob.mid(qsizetype(hashOffset + quint64(i) * hashSize), hashSize));
    return directory;
}

std::optional<QByteArray> CodeDirectory::specialSlot(int slot) const
{
    if (slot < 1 || slot > specialSlots.size())
        return std::nullopt;
    const QByteArray &hash = specialSlots[slot - 1];
    if (hash.count('\0') == hash.size())
        return std::nullopt;
    return hash;
}

QByteArray CodeDirectory::cdhash() const
{
    return Digest::of(hashType, bytes);
}
