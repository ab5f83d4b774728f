#include "codesign/trustanchors.h"

#include "codesign/appleroot.h"
#include "crypto/base64.h"
#include "platform/bundle.h"

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

QList<QByteArray> TrustAnchors::readPEM(const QByteArray &pem)
{
    QList<QByteArray> certificates;
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.constData(), int(pem.size())), &BIO_free);
    while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
        unsigned char *der = nullptr;
        const int length = i2d_X509(certificate, &der);
        if (length > 0)
            certificates.append(QByteArray(reinterpret_cast<const char *>(der), length));
        OPENSSL_free(der);
        X509_free(certificate);
    }
    return certificates;
}

QByteArray TrustAnchors::builtInRoot()
{
    return readPEM(QByteArray(appleRootCertificatePEM)).value(0);
}

TrustAnchors TrustAnchors::forBundle(const Bundle &bundle)
{
    TrustAnchors anchors({builtInRoot()});
    const QVariant listed =
        bundle.infoDictionary().value_or(QVariantMap()).value(QStringLiteral("TesselCodeSigningAnchors"));
    for (const QVariant &entry : listed.toList()) {
        // A malformed entry trusts nothing; it never stops the others from counting.
        if (entry.typeId() != QMetaType::QString)
            continue;
        if (const std::optional<QByteArray> der = Base64::decode(entry.toString()))
            anchors.add(*der);
    }
    return anchors;
}
