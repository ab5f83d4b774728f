#pragma once

#include <QString>

// Why an install did not happen: the step that failed, which decides the sentence the user
// sees, and the exact reason (an HTTP status, a path, a code-signature failure…), for logs
// and diagnostics.
struct InstallFailure
{
    enum class Kind {
        CannotReplace,       // the copy could not be replaced, or no Applications folder took the app
        Download,            // no HTTP answer, or not the whole archive
        BadArchiveSignature, // the archive's Ed25519 signature does not verify
        NoAppInArchive,      // no app bundle after unpacking
        BadCodeSignature,    // the app fails its code-signature requirement
        WrongApp,            // not the release: another app or build, or older than the installed copy
        Extract,             // an archive type we do not unpack, or an unpacking failure
        FileSystem,          // the file system beneath the installer (its work folder) failed
    };

    Kind kind;
    QString detail;

    static InstallFailure of(Kind kind, QString detail) { return {kind, std::move(detail)}; }

    // The kind's stable name, for logs ("download", "cannot-replace"…).
    static QString name(Kind kind);

    bool operator==(const InstallFailure &) const = default;
};
