#include "maker/certificateissuer.h"

#include "crypto/opensslpointer.h"

#include <QHostAddress>
#include <QStringList>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace CertificateIssuer {
namespace {

using Key = OpenSSLPointer<EVP_PKEY, EVP_PKEY_free>;
using Certificate = OpenSSLPointer<X509, X509_free>;
using Bio = OpenSSLPointer<BIO, BIO_free_all>;

// Certificate generation failing means OpenSSL itself is broken; nothing can go on.
void require(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

Bio memoryBio(const QByteArray &bytes)
{
    return Bio(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
}

QByteArray bioBytes(BIO *bio)
{
    char *data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return QByteArray(data, length);
}

void setRandomSerial(X509 *certificate)
{
    OpenSSLPointer<BIGNUM, BN_free> serial(BN_new());
    require(BN_rand(serial.get(), 127, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1, "serial");
    require(BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate)) != nullptr, "serial");
}

void addExtension(X509 *certificate, X509V3_CTX *context, const QString &name, const QString &value)
{
    X509_EXTENSION *extension =
        X509V3_EXT_conf(nullptr, context, name.toLatin1().constData(), value.toUtf8().constData());
    require(extension != nullptr, "extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

} // namespace

PemIdentity issue(const CertificateSpec &spec, const PemIdentity *issuer)
{
    Key key(EVP_EC_gen("P-256"));
    require(key != nullptr, "key");
    Certificate certificate(X509_new());
    X509_set_version(certificate.get(), 2);
    setRandomSerial(certificate.get());
    // An hour of slack so that a clock slightly behind still accepts a fresh certificate.
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600 - long(spec.daysBefore) * 86400);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), long(spec.days) * 86400);
    X509_NAME *name = X509_get_subject_name(certificate.get());
    for (const auto &[field, value] : spec.subject) {
        require(X509_NAME_add_entry_by_txt(name, field.toLatin1().constData(), MBSTRING_UTF8,
                                           reinterpret_cast<const unsigned char *>(value.toUtf8().constData()), -1, -1,
                                           0) == 1,
                "subject");
    }
    X509_set_pubkey(certificate.get(), key.get());

    Certificate issuerCertificate;
    Key issuerKey;
    if (issuer) {
        issuerCertificate.reset(PEM_read_bio_X509(memoryBio(issuer->certificate).get(), nullptr, nullptr, nullptr));
        issuerKey.reset(PEM_read_bio_PrivateKey(memoryBio(issuer->privateKey).get(), nullptr, nullptr, nullptr));
        require(issuerCertificate && issuerKey, "issuer");
    }
    X509 *signer = issuer ? issuerCertificate.get() : certificate.get();
    X509_set_issuer_name(certificate.get(), X509_get_subject_name(signer));

    X509V3_CTX context;
    X509V3_set_ctx(&context, signer, certificate.get(), nullptr, nullptr, 0);
    addExtension(certificate.get(), &context, QStringLiteral("subjectKeyIdentifier"), QStringLiteral("hash"));
    addExtension(certificate.get(), &context, QStringLiteral("authorityKeyIdentifier"), QStringLiteral("keyid:always"));
    for (const auto &[extension, value] : spec.extensions)
        addExtension(certificate.get(), &context, extension, value);
    require(X509_sign(certificate.get(), issuer ? issuerKey.get() : key.get(), EVP_sha256()) > 0, "sign");

    Bio certificateOut(BIO_new(BIO_s_mem()));
    Bio keyOut(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(certificateOut.get(), certificate.get());
    PEM_write_bio_PrivateKey(keyOut.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    return {bioBytes(certificateOut.get()), bioBytes(keyOut.get())};
}

PemIdentity makeTLSAuthority(const QString &commonName)
{
    return issue({
        .subject = {{QStringLiteral("CN"), commonName}},
        .extensions = {{QStringLiteral("basicConstraints"), QStringLiteral("critical,CA:TRUE")},
                       {QStringLiteral("keyUsage"), QStringLiteral("critical,keyCertSign,cRLSign")}},
        .days = 3650,
    });
}

PemIdentity makeTLSServer(const PemIdentity &authority, const QStringList &hosts)
{
    QStringList names;
    for (const QString &host : hosts)
        names.append((QHostAddress(host).isNull() ? QStringLiteral("DNS:") : QStringLiteral("IP:")) + host);
    return issue(
        {
            .subject = {{QStringLiteral("CN"), hosts.value(0)}},
            .extensions = {{QStringLiteral("basicConstraints"), QStringLiteral("critical,CA:FALSE")},
                           {QStringLiteral("keyUsage"), QStringLiteral("critical,digitalSignature")},
                           {QStringLiteral("extendedKeyUsage"), QStringLiteral("serverAuth")},
                           {QStringLiteral("subjectAltName"), names.join(u',')}},
            .days = 825,
        },
        &authority);
}

PemIdentity makeCodeSigningRoot(const QString &commonName)
{
    return issue({
        .subject = {{QStringLiteral("CN"), commonName}, {QStringLiteral("O"), QStringLiteral("Tessel Demo")}},
        .extensions = {{QStringLiteral("basicConstraints"), QStringLiteral("critical,CA:TRUE")},
                       {QStringLiteral("keyUsage"), QStringLiteral("critical,keyCertSign,cRLSign")}},
        .days = 3650,
    });
}

PemIdentity makeCodeSigningIntermediate(const PemIdentity &root, const QString &commonName)
{
    return issue(
        {
            .subject = {{QStringLiteral("CN"), commonName}, {QStringLiteral("O"), QStringLiteral("Tessel Demo")}},
            .extensions = {{QStringLiteral("basicConstraints"), QStringLiteral("critical,CA:TRUE,pathlen:0")},
                           {QStringLiteral("keyUsage"), QStringLiteral("critical,keyCertSign,cRLSign")}},
            .days = 3650,
        },
        &root);
}

PemIdentity makeCodeSigningLeaf(const PemIdentity &issuer, const QString &team, const QString &organisation, int days)
{
    return issue(
        {
            .subject = {{QStringLiteral("CN"),
                         QStringLiteral("Developer ID Application: %1 (%2)").arg(organisation, team)},
                        {QStringLiteral("OU"), team},
                        {QStringLiteral("O"), organisation}},
            .extensions = {{QStringLiteral("basicConstraints"), QStringLiteral("critical,CA:FALSE")},
                           {QStringLiteral("keyUsage"), QStringLiteral("critical,digitalSignature")},
                           {QStringLiteral("extendedKeyUsage"), QStringLiteral("critical,codeSigning")}},
            .days = days,
            .daysBefore = days < 0 ? 1 - days : 0,
        },
        &issuer);
}

} // namespace CertificateIssuer
