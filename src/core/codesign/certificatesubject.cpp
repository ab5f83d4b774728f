#include "codesign/certificatesubject.h"

#include <QList>
#include <openssl/objects.h>
#include <openssl/x509.h>

#include <utility>

namespace {

int subjectNID(const QString &key)
{
    static const QList<std::pair<QString, int>> keys{
        {QStringLiteral("C"), NID_countryName},
        {QStringLiteral("CN"), NID_commonName},
        {QStringLiteral("O"), NID_organizationName},
        {QStringLiteral("OU"), NID_organizationalUnitName},
        {QStringLiteral("L"), NID_localityName},
        {QStringLiteral("ST"), NID_stateOrProvinceName},
        {QStringLiteral("STREET"), NID_streetAddress},
        {QStringLiteral("UID"), NID_userId},
        {QStringLiteral("email"), NID_pkcs9_emailAddress},
    };
    for (const auto &[name, nid] : keys) {
        if (name == key)
            return nid;
    }
    return NID_undef;
}

} // namespace

std::optional<QString> certificateSubject(X509 *certificate, const QString &key)
{
    const int nid = subjectNID(key);
    X509_NAME *name = X509_get_subject_name(certificate);
    const int index = nid == NID_undef ? -1 : X509_NAME_get_index_by_NID(name, nid, -1);
    if (index < 0)
        return std::nullopt;
    unsigned char *utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index)));
    if (length < 0)
        return std::nullopt;
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(utf8), length);
    OPENSSL_free(utf8);
    return value;
}
