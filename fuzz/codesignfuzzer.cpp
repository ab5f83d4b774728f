// Feeds hostile bytes to what decides about code signatures; the first byte, modulo 3,
// chooses the CodeDirectory parser (0), the requirement compiler and evaluator (1), or the
// check that a path stays inside a bundle (2) over a tree of links the rest describes.
#include "codesign/codedirectory.h"
#include "codesign/requirement.h"
#include "support/confinedpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Lines "NAME<TAB>TARGET" make a link NAME (letters and slashes only, so nothing is written
// outside the tree; its folders are made) with any TARGET; lines "?PATH" are asked about. What
// is said to lead inside must, wherever the kernel resolves it, lie below the root.
void checkLinkTree(const QByteArray &input)
{
    static const QTemporaryDir scratch;
    const QString root = scratch.filePath(QStringLiteral("bundle"));
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    static const QRegularExpression safeName(QStringLiteral("^[A-Za-z]+(/[A-Za-z]+)*$"));
    QStringList questions;
    for (const QByteArray &line : input.split('\n')) {
        if (line.startsWith('?')) {
            questions.append(QString::fromUtf8(line.mid(1)));
            continue;
        }
        const qsizetype tab = line.indexOf('\t');
        const QString name = QString::fromUtf8(line.left(tab));
        if (tab < 0 || !safeName.match(name).hasMatch())
            continue;
        QDir().mkpath(QFileInfo(root + u'/' + name).path());
        QFile::link(QString::fromUtf8(line.mid(tab + 1)), root + u'/' + name);
    }
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath() + u'/';
    for (const QString &question : std::as_const(questions)) {
        if (!ConfinedPath::leadsInside(root, question))
            continue;
        const QString resolved = QFileInfo(root + u'/' + question).canonicalFilePath();
        if (!resolved.isEmpty() && !resolved.startsWith(canonicalRoot))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (data[0] % 3 == 2) {
        checkLinkTree(input);
    } else if (data[0] % 3 == 0) {
        if (const CodeSignatureResult<CodeDirectory> directory = CodeDirectory::parse(input)) {
            for (int slot = 0; slot <= directory->specialSlots.size() + 1; ++slot)
                directory->specialSlot(slot);
            directory->cdhash();
        }
    } else if (const CodeSignatureResult<Requirement> requirement = Requirement::compile(QString::fromUtf8(input))) {
        RequirementContext context;
        context.identifier = QStringLiteral("com.orvel.lumen");
        context.cdhash = QByteArray(20, '\x11');
        requirement->evaluate(context);
    }
    return 0;
}
