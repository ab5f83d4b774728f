#include "install/installfailure.h"

QString InstallFailure::name(Kind kind)
{
    switch (kind) {
    case Kind::CannotReplace:
        return QStringLiteral("cannot-replace");
    case Kind::Download:
        return QStringLiteral("download");
    case Kind::BadArchiveSignature:
        return QStringLiteral("bad-archive-signature");
    case Kind::NoAppInArchive:
        return QStringLiteral("no-app-in-archive");
    case Kind::BadCodeSignature:
        return QStringLiteral("bad-code-signature");
    case Kind::WrongApp:
        return QStringLiteral("wrong-app");
    case Kind::Extract:
        return QStringLiteral("extract");
    case Kind::FileSystem:
        return QStringLiteral("file-system");
    }
    return QStringLiteral("unknown");
}
