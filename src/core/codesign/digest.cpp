#include "codesign/digest.h"

#include <QFile>
#include <openssl/evp.h>

#include <memory>

namespace Digest {
namespace {

using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

const EVP_MD *algorithm(Type type)
{
    switch (type) {
    case Type::SHA1:
        return EVP_sha1();
    case Type::SHA256:
    case Type::SHA256Truncated:
        return EVP_sha256();
    case Type::SHA384:
        return EVP_sha384();
    }
    return nullptr;
}

Context start(Type type)
{
    Context context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    EVP_DigestInit_ex(context.get(), algorithm(type), nullptr);
    return context;
}

void update(EVP_MD_CTX *context, QByteArrayView bytes)
{
    // EVP takes size_t, so even a mapping of several gigabytes goes in one call.
    EVP_DigestUpdate(context, bytes.data(), size_t(bytes.size()));
}

QByteArray finish(Type type, EVP_MD_CTX *context)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    return QByteArray(reinterpret_cast<const char *>(digest), size(type));
}

} // namespace

std::optional<Type> fromHashType(quint8 hashType)
{
    if (hashType < 1 || hashType > 4)
        return std::nullopt;
    return Type(hashType);
}

int size(Type type)
{
    switch (type) {
    case Type::SHA1:
    case Type::SHA256Truncated:
        return 20;
    case Type::SHA256:
        return 32;
    case Type::SHA384:
        return 48;
    }
    return 0;
}

QByteArray of(Type type, QByteArrayView bytes)
{
    const Context context = start(type);
    update(context.get(), bytes);
    return finish(type, context.get());
}

std::optional<QList<QByteArray>> ofFile(const QList<Type> &types, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::vector<Context> contexts;
    for (const Type type : types)
        contexts.push_back(start(type));
    const qint64 size = file.size();
    if (size > 0) {
        uchar *mapped = file.map(0, size);
        if (mapped) {
            for (const Context &context : contexts)
                update(context.get(), QByteArrayView(mapped, size));
            file.unmap(mapped);
        } else {
            // Files that cannot be mapped (special file systems) are read in chunks.
            QByteArray chunk;
            while (!(chunk = file.read(1 << 20)).isEmpty()) {
                for (const Context &context : contexts)
                    update(context.get(), chunk);
            }
            if (file.error() != QFileDevice::NoError)
                return std::nullopt;
        }
    }
    QList<QByteArray> digests;
    for (qsizetype i = 0; i < types.size(); ++i)
        digests.append(finish(types[i], contexts[size_t(i)].get()));
    return digests;
}

} // namespace Digest
