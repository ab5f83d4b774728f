#include "support/plaininteger.h"

#include <limits>

std::optional<qint64> parsePlainInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    // Accumulate towards the negative side, which holds one more value than the positive.
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        const int digit = u - u'0';
        if (value < (lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == lowest)
        return std::nullopt;
    return -value;
}
