#include "catalog/version.h"

#include "support/plaininteger.h"

#include <QList>

namespace Version {
namespace {

QList<qint64> numbers(QStringView text)
{
    QList<qint64> parts;
    for (const QStringView part : text.split(u'.', Qt::SkipEmptyParts))
        parts.append(parsePlainInteger(part).value_or(0));
    return parts;
}

} // namespace

Order compare(QStringView a, QStringView b)
{
    const QList<qint64> left = numbers(a);
    const QList<qint64> right = numbers(b);
    const qsizetype count = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 x = left.value(i, 0);
        const qint64 y = right.value(i, 0);
        if (x != y)
            return x < y ? Order::Ascending : Order::Descending;
    }
    return Order::Same;
}

} // namespace Version
