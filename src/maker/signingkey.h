#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

typedef struct evp_pkey_st EVP_PKEY;

// An Ed25519 private key of the maker's: catalogs and archives are signed with it.
class SigningKey
{
public:
    static SigningKey generate();
    // A PKCS#8 PEM private key, as toPEM() writes it; nothing when it is not an Ed25519 key.
    static std::optional<SigningKey> fromPEM(const QByteArray &pem);
    static std::optional<SigningKey> readFile(const QString &path);

    QByteArray toPEM() const;
    // Writes the PEM readable by the owner only.
    bool writeFile(const QString &path) const;

    QByteArray publicKey() const;                     // the 32 raw bytes
    QByteArray sign(const QByteArray &message) const; // the 64-byte signature

private:
    explicit SigningKey(EVP_PKEY *key);

    std::shared_ptr<EVP_PKEY> m_key;
};
