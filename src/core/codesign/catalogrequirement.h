#pragma once

#include "catalog/catalog.h"
#include "codesign/codesignaturefailure.h"
#include "codesign/requirement.h"

#include <QString>

class CodeSignatureVerifier;

// The designated requirement a catalog app's bundle must meet: anchored at the vendor's root
// (or a configured anchor), the catalog's identifier, the catalog's team.
namespace CatalogRequirement {

// The requirement's text for the app's identifier and team, as they are.
QString text(const CatalogApp &app);

// The requirement, compiled. A catalog value with a quote or a backslash is refused as
// UnsafeCatalogValue: it could change the requirement's meaning, never only its value.
CodeSignatureResult<Requirement> compile(const CatalogApp &app);

// Whether the bundle's code signature is intact and meets the app's requirement.
CodeSignatureResult<Unit> check(const QString &bundle, const CatalogApp &app, const CodeSignatureVerifier &verifier);

} // namespace CatalogRequirement
