#pragma once

#include <QByteArrayView>
#include <QStringView>

struct ServiceConfiguration;

// The check that the maker's service signed a catalog.
namespace ServiceSignature {

// True only when the configuration has a usable key, the base64url signature decodes,
// and it verifies over exactly these bytes.
bool isValid(QStringView signature, QByteArrayView bytes, const ServiceConfiguration &configuration);

} // namespace ServiceSignature
