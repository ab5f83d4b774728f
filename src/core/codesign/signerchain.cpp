#include "codesign/signerchain.h"

#include "crypto/opensslpointer.h"

#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/x509v3.h>

namespace {

using CMS = OpenSSLPointer<CMS_ContentInfo, CMS_ContentInfo_free>;
using Store = OpenSSLPointer<X509_STORE, X509_STORE_free>;
using StoreContext = OpenSSLPointer<X509_STORE_CTX, X509_STORE_CTX_free>;
using Bio = OpenSSLPointer<BIO, BIO_free_all>;

void freeCertificates(STACK_OF(X509) * certificates)
{
    sk_X509_pop_free(certificates, X509_free);
}
using Certificates = OpenSSLPointer<STACK_OF(X509), freeCertificates>;

// CMS_get0_signers lends its certificates: only the list is freed.
void freeList(STACK_OF(X509) * certificates)
{
    sk_X509_free(certificates);
}
using BorrowedCertificates = OpenSSLPointer<STACK_OF(X509), freeList>;

using Kind = CodeSignatureFailure::Kind;

CodeSignatureFailure fail(Kind kind, const QString &why)
{
    ERR_clear_error();
    return CodeSignatureFailure::of(kind, why);
}

// The vendor's leaf certificates carry critical extensions of its own (1.2.840.113635.100.6…)
// that OpenSSL does not know; those, and only those, are tolerated.
int toleratingVendorExtensions(int ok, X509_STORE_CTX *context)
{
    if (ok || X509_STORE_CTX_get_error(context) != X509_V_ERR_UNHANDLED_CRITICAL_EXTENSION)
        return ok;
    X509 *certificate = X509_STORE_CTX_get_current_cert(context);
    static const QByteArray vendorPrefix = "1.2.840.113635.100.6.";
    for (int i = 0; i < X509_get_ext_count(certificate); ++i) {
        X509_EXTENSION *extension = X509_get_ext(certificate, i);
        if (!X509_EXTENSION_get_critical(extension))
            continue;
        const int nid = OBJ_obj2nid(X509_EXTENSION_get_object(extension));
        if (nid != NID_undef && X509_supported_extension(extension))
            continue;
        char oid[128];
        OBJ_obj2txt(oid, sizeof oid, X509_EXTENSION_get_object(extension), 1);
        if (!QByteArray(oid).startsWith(vendorPrefix))
            return 0;
    }
    return 1;
}

// The hash-agility attribute: a set of SEQUENCE { digest OID, OCTET STRING cdhash }.
QList<std::pair<QByteArray, QByteArray>> readAgility(CMS_SignerInfo *signer)
{
    QList<std::pair<QByteArray, QByteArray>> entries;
    ASN1_OBJECT *oid = OBJ_txt2obj("1.2.840.113635.100.9.2", 1);
    const int index = CMS_signed_get_attr_by_OBJ(signer, oid, -1);
    ASN1_OBJECT_free(oid);
    if (index < 0)
        return entries;
    X509_ATTRIBUTE *attribute = CMS_signed_get_attr(signer, index);
    for (int i = 0; i < X509_ATTRIBUTE_count(attribute); ++i) {
        ASN1_TYPE *value = X509_ATTRIBUTE_get0_type(attribute, i);
        if (!value || value->type != V_ASN1_SEQUENCE)
            continue;
        const unsigned char *der = value->value.sequence->data;
        ASN1_SEQUENCE_ANY *sequence = d2i_ASN1_SEQUENCE_ANY(nullptr, &der, value->value.sequence->length);
        if (!sequence)
            continue;
        if (sk_ASN1_TYPE_num(sequence) == 2 && sk_ASN1_TYPE_value(sequence, 0)->type == V_ASN1_OBJECT &&
            sk_ASN1_TYPE_value(sequence, 1)->type == V_ASN1_OCTET_STRING) {
            char text[128];
            OBJ_obj2txt(text, sizeof text, sk_ASN1_TYPE_value(sequence, 0)->value.object, 1);
            const ASN1_OCTET_STRING *hash = sk_ASN1_TYPE_value(sequence, 1)->value.octet_string;
            entries.append({QByteArray(text), QByteArray(reinterpret_cast<const char *>(hash->data), hash->length)});
        }
        sk_ASN1_TYPE_pop_free(sequence, ASN1_TYPE_free);
    }
    return entries;
}

} // namespace

CodeSignatureResult<SignerChain> SignerChain::verify(const QByteArray &cmsBytes, const QByteArray &signedBytes,
                                                     const TrustAnchors &anchors)
{
    if (cmsBytes.isEmpty())
        return fail(Kind::Unsigned, QStringLiteral("the signature is ad hoc: it names no signer"));
    const unsigned char *der = reinterpret_cast<const unsigned char *>(cmsBytes.constData());
    CMS cms(d2i_CMS_ContentInfo(nullptr, &der, long(cmsBytes.size())));
    if (!cms || der != reinterpret_cast<const unsigned char *>(cmsBytes.constData()) + cmsBytes.size())
        return fail(Kind::Malformed, QStringLiteral("the CMS signature is not well-formed DER"));
    if (OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature is not signed data"));
    if (OBJ_obj2nid(CMS_get0_eContentType(cms.get())) != NID_pkcs7_data)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature does not sign plain data"));
    ASN1_OCTET_STRING **content = CMS_get0_content(cms.get());
    if (!content || *content)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature is not detached"));
    STACK_OF(CMS_SignerInfo) *signers = CMS_get0_SignerInfos(cms.get());
    if (sk_CMS_SignerInfo_num(signers) != 1)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature must have exactly one signer"));

    // OpenSSL picks the algorithm from the key; an algorithm field it does not know means the
    // signature was not made the way it says.
    X509_ALGOR *digestAlgorithm = nullptr;
    X509_ALGOR *signatureAlgorithm = nullptr;
    CMS_SignerInfo_get0_algs(sk_CMS_SignerInfo_value(signers, 0), nullptr, nullptr, &digestAlgorithm,
                             &signatureAlgorithm);
    if (!digestAlgorithm || !signatureAlgorithm || OBJ_obj2nid(digestAlgorithm->algorithm) == NID_undef ||
        OBJ_obj2nid(signatureAlgorithm->algorithm) == NID_undef)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature names an unknown algorithm"));
    // A combined algorithm ("ecdsa-with-SHA256") must name the digest actually used.
    int namedDigest = NID_undef;
    int keyType = NID_undef;
    if (OBJ_find_sigid_algs(OBJ_obj2nid(signatureAlgorithm->algorithm), &namedDigest, &keyType) &&
        namedDigest != NID_undef && namedDigest != OBJ_obj2nid(digestAlgorithm->algorithm))
        return fail(Kind::Malformed, QStringLiteral("the CMS signature names two different digests"));
    Bio data(BIO_new_mem_buf(signedBytes.constData(), int(signedBytes.size())));
    if (CMS_verify(cms.get(), nullptr, nullptr, data.get(), nullptr,
                   CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY | CMS_DETACHED) != 1)
        return fail(Kind::Modified, QStringLiteral("the CMS signature does not verify over the code directory"));
    BorrowedCertificates signerCertificates(CMS_get0_signers(cms.get()));
    X509 *leaf = sk_X509_num(signerCertificates.get()) == 1 ? sk_X509_value(signerCertificates.get(), 0) : nullptr;
    if (!leaf)
        return fail(Kind::Malformed, QStringLiteral("the CMS signature does not carry its signer's certificate"));

    Store store(X509_STORE_new());
    for (const QByteArray &anchor : anchors.certificates()) {
        const unsigned char *anchorDER = reinterpret_cast<const unsigned char *>(anchor.constData());
        OpenSSLPointer<X509, X509_free> certificate(d2i_X509(nullptr, &anchorDER, long(anchor.size())));
        if (certificate)
            X509_STORE_add_cert(store.get(), certificate.get());
    }
    X509_STORE_set_verify_cb(store.get(), toleratingVendorExtensions);
    Certificates untrusted(CMS_get1_certs(cms.get()));
    StoreContext context(X509_STORE_CTX_new());
    X509_STORE_CTX_init(context.get(), store.get(), leaf, untrusted.get());
    X509_STORE_CTX_set_flags(context.get(), X509_V_FLAG_NO_CHECK_TIME);
    if (X509_verify_cert(context.get()) != 1)
        return fail(
            Kind::UntrustedSigner,
            QStringLiteral("the signer's certificate chain is not trusted: %1")
                .arg(QString::fromLatin1(X509_verify_cert_error_string(X509_STORE_CTX_get_error(context.get())))));

    const uint32_t flags = X509_get_extension_flags(leaf);
    if (!(flags & EXFLAG_XKUSAGE) || !(X509_get_extended_key_usage(leaf) & XKU_CODE_SIGN))
        return fail(Kind::UntrustedSigner, QStringLiteral("the signer's certificate is not for code signing"));
    if ((flags & EXFLAG_KUSAGE) && !(X509_get_key_usage(leaf) & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION)))
        return fail(Kind::UntrustedSigner, QStringLiteral("the signer's certificate may not sign"));

    SignerChain chain;
    STACK_OF(X509) *verified = X509_STORE_CTX_get0_chain(context.get());
    for (int i = 0; i < sk_X509_num(verified); ++i) {
        X509 *certificate = sk_X509_value(verified, i);
        X509_up_ref(certificate);
        chain.m_chain.emplace_back(certificate, X509_free);
    }
    chain.m_agility = readAgility(sk_CMS_SignerInfo_value(signers, 0));
    return chain;
}

QList<X509 *> SignerChain::certificates() const
{
    QList<X509 *> certificates;
    for (const std::shared_ptr<X509> &certificate : m_chain)
        certificates.append(certificate.get());
    return certificates;
}
