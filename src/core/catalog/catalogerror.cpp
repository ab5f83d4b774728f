#include "catalog/catalogerror.h"

QString errorName(CatalogError error)
{
    switch (error) {
    case CatalogError::Unavailable:
        return QStringLiteral("unavailable");
    case CatalogError::BadSignature:
        return QStringLiteral("badSignature");
    case CatalogError::WrongIssuer:
        return QStringLiteral("wrongIssuer");
    case CatalogError::Malformed:
        return QStringLiteral("malformed");
    }
    return {};
}
