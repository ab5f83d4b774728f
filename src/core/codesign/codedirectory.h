#pragma once

#include "codesign/codesignaturefailure.h"
#include "codesign/digest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A CodeDirectory blob (magic 0xfade0c02): what a signature records about the code, its
// components and its identity. Only ever made by parse(), which checks every bound.
struct CodeDirectory
{
    static constexpr quint32 magic = 0xfade0c02;
    static constexpr quint32 adhocFlag = 0x2;

    QByteArray bytes; // the whole blob, as signed
    quint32 version = 0;
    quint32 flags = 0;
    Digest::Type hashType = Digest::Type::SHA256;
    QString identifier;
    std::optional<QString> teamID;
    quint64 codeLimit = 0;
    quint8 pageSizeLog2 = 0;        // 0: one page covering the whole limit
    QList<QByteArray> specialSlots; // index k-1 holds special slot -k
    QList<QByteArray> codeSlots;

    // The blob, or why it is malformed or unsupported.
    static CodeSignatureResult<CodeDirectory> parse(const QByteArray &blob);

    // The hash recorded for special slot -slot, or nothing when the slot is absent (beyond
    // the count, or all zeros).
    std::optional<QByteArray> specialSlot(int slot) const;

    // The digest of the whole blob with its own hash type.
    QByteArray cdhash() const;
};
