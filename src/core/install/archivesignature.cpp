#include "install/archivesignature.h"

#include "crypto/base64.h"
#include "crypto/ed25519.h"

#include <QFile>

namespace ArchiveSignature {
namespace {

InstallFailure refused(const QString &why)
{
    return InstallFailure::of(InstallFailure::Kind::BadArchiveSignature, why);
}

} // namespace

Expected<Unit, InstallFailure> check(const QString &archive, const std::optional<QString> &signature,
                                     const QString &publicKey)
{
    if (publicKey.isEmpty())
        return Unit();
    if (!signature)
        return refused(QStringLiteral("the app publishes a key, but the feed gives the archive no signature"));
    const std::optional<QByteArray> rawSignature = Base64::decode(*signature);
    if (!rawSignature)
        return refused(QStringLiteral("the archive's signature is not standard Base64"));
    const std::optional<QByteArray> rawKey = Base64::decode(publicKey);
    if (!rawKey)
        return refused(QStringLiteral("the app's public key is not standard Base64"));
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("cannot read %1: %2").arg(archive, file.errorString()));
    const qint64 size = file.size();
    bool valid = false;
    if (size == 0) {
        valid = Ed25519::verify(*rawKey, QByteArrayView(), *rawSignature);
    } else {
        // Mapped, not read: archives run to gigabytes.
        const uchar *mapped = file.map(0, size);
        if (!mapped)
            return refused(QStringLiteral("cannot read %1: %2").arg(archive, file.errorString()));
        valid = Ed25519::verify(*rawKey, QByteArrayView(mapped, size), *rawSignature);
        file.unmap(const_cast<uchar *>(mapped));
    }
    if (!valid)
        return refused(QStringLiteral("the signature does not verify over the archive with the app's key"));
    return Unit();
}

} // namespace ArchiveSignature
