#include "crypto/ed25519.h"

#include <openssl/evp.h>

#include <memory>

namespace Ed25519 {

bool verify(QByteArrayView publicKey, QByteArrayView message, QByteArrayView signature)
{
    if (publicKey.size() != publicKeySize || signature.size() != signatureSize)
        return false;
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                    reinterpret_cast<const unsigned char *>(publicKey.data()),
                                    size_t(publicKey.size())),
        &EVP_PKEY_free);
    if (!key)
        return false;
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char *>(signature.data()),
                            size_t(signature.size()), reinterpret_cast<const unsigned char *>(message.data()),
                            size_t(message.size())) == 1;
}

} // namespace Ed25519
