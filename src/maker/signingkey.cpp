#include "maker/signingkey.h"

#include <QFile>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace {

using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

} // namespace

SigningKey::SigningKey(EVP_PKEY *key) : m_key(key, &EVP_PKEY_free) {}

SigningKey SigningKey::generate()
{
    EVP_PKEY *key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    Q_ASSERT(key);
    return SigningKey(key);
}

std::optional<SigningKey> SigningKey::fromPEM(const QByteArray &pem)
{
    Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())), &BIO_free);
    EVP_PKEY *key = PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr);
    if (!key)
        return std::nullopt;
    if (EVP_PKEY_get_id(key) != EVP_PKEY_ED25519) {
        EVP_PKEY_free(key);
        return std::nullopt;
    }
    return SigningKey(key);
}

std::optional<SigningKey> SigningKey::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromPEM(file.readAll());
}

QByteArray SigningKey::toPEM() const
{
    Bio bio(BIO_new(BIO_s_mem()), &BIO_free);
    PEM_write_bio_PrivateKey(bio.get(), m_key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    char *data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, length);
}

bool SigningKey::writeFile(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray pem = toPEM();
    return file.write(pem) == pem.size();
}

QByteArray SigningKey::publicKey() const
{
    QByteArray raw(32, Qt::Uninitialized);
    size_t length = size_t(raw.size());
    EVP_PKEY_get_raw_public_key(m_key.get(), reinterpret_cast<unsigned char *>(raw.data()), &length);
    return raw;
}

QByteArray SigningKey::sign(const QByteArray &message) const
{
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    QByteArray signature(64, Qt::Uninitialized);
    size_t length = size_t(signature.size());
    EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key.get());
    EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &length,
                   reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()));
    return signature;
}
