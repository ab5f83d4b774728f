// Feeds hostile bytes to the parsers of code signatures: the first byte chooses the
// CodeDirectory parser (even) or the requirement compiler and evaluator (odd).
#include "codesign/codedirectory.h"
#include "codesign/requirement.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (data[0] % 2 == 0) {
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
