#pragma once

#include <QString>
#include <variant>

// The installer's own failures.
struct InstallError
{
    enum class Kind {
        CannotReplace,       // the copy could not be replaced, or no Applications folder took the app
        Download,            // no HTTP answer, or not the whole archive
        BadArchiveSignature, // the archive's Ed25519 signature does not verify
        NoAppInArchive,      // no app bundle after unpacking
        BadCodeSignature,    // the app fails its code-signature requirement
        WrongApp,            // the app's bundle identifier is not the catalog's
        Extract,             // an archive type we do not unpack, or an unpacking failure
    };

    Kind kind;
    QString path; // CannotReplace: what could not be written

    static InstallError cannotReplace(QString path) { return {Kind::CannotReplace, std::move(path)}; }
    static InstallError of(Kind kind) { return {kind, {}}; }

    bool operator==(const InstallError &) const = default;
};

// A failure of what lies beneath the installer (the network, the file system), passed on
// as it came.
struct SystemError
{
    QString description;

    bool operator==(const SystemError &) const = default;
};

using InstallFailure = std::variant<InstallError, SystemError>;
