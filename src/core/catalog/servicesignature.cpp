#include "catalog/servicesignature.h"

#include "catalog/serviceconfiguration.h"
#include "crypto/base64.h"
#include "crypto/ed25519.h"

namespace ServiceSignature {

bool isValid(QStringView signature, QByteArrayView bytes, const ServiceConfiguration &configuration)
{
    const std::optional<QByteArray> key = configuration.signingKey();
    if (!key)
        return false;
    const std::optional<QByteArray> rawSignature = Base64::decodeURL(signature);
    return rawSignature && Ed25519::verify(*key, bytes, *rawSignature);
}

} // namespace ServiceSignature
