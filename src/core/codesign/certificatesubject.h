#pragma once

#include <QString>
#include <optional>

typedef struct x509_st X509;

// The first value of a subject attribute of a certificate, by its requirement-language key
// ("OU", "CN", "O", …); nothing when the certificate has none or the key is unknown.
std::optional<QString> certificateSubject(X509 *certificate, const QString &key);
