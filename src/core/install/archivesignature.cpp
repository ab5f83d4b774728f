#include "install/archivesignature.h"

#include "crypto/base64.h"
#include "crypto/ed25519.h"

#include <QFile>

namespace ArchiveSignature {

bool isSigned(const QString &archive, const std::optional<QString> &signature, const QString &publicKey)
{
    if (publicKey.isEmpty())
        return true;
    if (!signature)
        return false;
    const std::optional<QByteArray> rawSignature = Base64::decode(*signature);
    const std::optional<QByteArray> rawKey = Base64::decode(publicKey);
    if (!rawSignature || !rawKey)
        return false;
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size == 0)
        return Ed25519::verify(*rawKey, QByteArrayView(), *rawSignature);
    // Mapped, not read: archives run to gigabytes.
    const uchar *mapped = file.map(0, size);
    if (!mapped)
        return false;
    const bool valid = Ed25519::verify(*rawKey, QByteArrayView(mapped, size), *rawSignature);
    file.unmap(const_cast<uchar *>(mapped));
    return valid;
}

} // namespace ArchiveSignature
