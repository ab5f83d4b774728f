#include "net/httpcomplete.h"

#include "support/plaininteger.h"

#include <QNetworkReply>
#include <limits>

namespace HTTPComplete {

bool isComplete(int status, const std::optional<QString> &contentRange, qint64 bodyLength)
{
    if (status == 200)
        return true;
    if (status != 206 || !contentRange)
        return false;
    const QString value = contentRange->toLower();
    qsizetype begin = 0;
    qsizetype end = value.size();
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && isBlank(value[begin]))
        ++begin;
    while (end > begin && isBlank(value[end - 1]))
        --end;
    const QStringView trimmed = QStringView(value).sliced(begin, end - begin);
    const QStringView unit = u"bytes ";
    if (!trimmed.startsWith(unit))
        return false;
    const QList<QStringView> rangeAndTotal = trimmed.sliced(unit.size()).split(u'/', Qt::SkipEmptyParts);
    if (rangeAndTotal.size() != 2)
        return false;
    const std::optional<qint64> total = parsePlainInteger(rangeAndTotal[1]);
    const QList<QStringView> positions = rangeAndTotal[0].split(u'-', Qt::SkipEmptyParts);
    if (!total || positions.size() != 2)
        return false;
    const std::optional<qint64> first = parsePlainInteger(positions[0]);
    const std::optional<qint64> last = parsePlainInteger(positions[1]);
    if (!first || !last || *total == std::numeric_limits<qint64>::min())
        return false;
    return *first == 0 && *last == *total - 1 && bodyLength == *total;
}

bool isComplete(const QNetworkReply *response, qint64 bodyLength)
{
    if (!response)
        return false;
    const QVariant status = response->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return false;
    std::optional<QString> contentRange;
    if (response->hasRawHeader("Content-Range"))
        contentRange = QString::fromLatin1(response->rawHeader("Content-Range"));
    return isComplete(status.toInt(), contentRange, bodyLength);
}

} // namespace HTTPComplete
