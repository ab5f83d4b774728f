#include "codesign/codesignaturefailure.h"

QString CodeSignatureFailure::name(Kind kind)
{
    switch (kind) {
    case Kind::NotABundle:
        return QStringLiteral("not-a-bundle");
    case Kind::Unsigned:
        return QStringLiteral("unsigned");
    case Kind::Malformed:
        return QStringLiteral("malformed");
    case Kind::Unsupported:
        return QStringLiteral("unsupported");
    case Kind::Unsealed:
        return QStringLiteral("unsealed");
    case Kind::Modified:
        return QStringLiteral("modified");
    case Kind::UntrustedSigner:
        return QStringLiteral("untrusted-signer");
    case Kind::RequirementNotMet:
        return QStringLiteral("requirement-not-met");
    case Kind::InvalidRequirement:
        return QStringLiteral("invalid-requirement");
    case Kind::UnsafeCatalogValue:
        return QStringLiteral("unsafe-catalog-value");
    }
    return QStringLiteral("unknown");
}
