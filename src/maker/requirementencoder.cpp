#include "maker/requirementencoder.h"

#include <QtEndian>

namespace RequirementEncoder {
namespace {

constexpr quint32 opAnd = 6;
constexpr quint32 opIdentifier = 2;
constexpr quint32 opCertificateField = 11;
constexpr quint32 opAnchorAppleGeneric = 15;
constexpr quint32 matchEqual = 1;
constexpr quint32 leafSlot = 0;
constexpr quint32 designatedType = 3;

void appendU32(QByteArray &out, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    out.append(reinterpret_cast<const char *>(&big), 4);
}

// Length, bytes, then zeros up to a multiple of four.
void appendData(QByteArray &out, const QByteArray &data)
{
    appendU32(out, quint32(data.size()));
    out.append(data);
    out.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
}

} // namespace

QByteArray designated(const QString &identifier, const QString &team)
{
    QByteArray program;
    appendU32(program, opAnd);
    appendU32(program, opAnd);
    appendU32(program, opAnchorAppleGeneric);
    appendU32(program, opIdentifier);
    appendData(program, identifier.toUtf8());
    appendU32(program, opCertificateField);
    appendU32(program, leafSlot);
    appendData(program, "subject.OU");
    appendU32(program, matchEqual);
    appendData(program, team.toUtf8());

    QByteArray blob;
    appendU32(blob, 0xfade0c00);
    appendU32(blob, quint32(12 + program.size()));
    appendU32(blob, 1); // an expression program
    return blob + program;
}

QByteArray designatedSet(const QString &identifier, const QString &team)
{
    const QByteArray requirement = designated(identifier, team);
    QByteArray set;
    appendU32(set, 0xfade0c01);
    appendU32(set, quint32(20 + requirement.size()));
    appendU32(set, 1);
    appendU32(set, designatedType);
    appendU32(set, 20);
    return set + requirement;
}

QString designatedText(const QString &identifier, const QString &team)
{
    return QStringLiteral("anchor apple generic and identifier \"%1\" and certificate leaf[subject.OU] = \"%2\"")
        .arg(identifier, team);
}

} // namespace RequirementEncoder
