#include "presentation/relativedate.h"

#include <QLocale>
#include <unicode/locid.h>
#include <unicode/reldatefmt.h>

#include <array>
#include <utility>

namespace {

constexpr qint64 minute = 60;
constexpr qint64 hour = 60 * minute;
constexpr qint64 day = 24 * hour;

// From the largest unit down: the first whose length fits the elapsed time is used. A month
// counts as 30 days and a year as 365, so that "4 weeks ago" turns into "1 month ago".
constexpr std::array<std::pair<URelativeDateTimeUnit, qint64>, 7> units{{
    {UDAT_REL_UNIT_YEAR, 365 * day},
    {UDAT_REL_UNIT_MONTH, 30 * day},
    {UDAT_REL_UNIT_WEEK, 7 * day},
    {UDAT_REL_UNIT_DAY, day},
    {UDAT_REL_UNIT_HOUR, hour},
    {UDAT_REL_UNIT_MINUTE, minute},
    {UDAT_REL_UNIT_SECOND, 1},
}};

icu::Locale localeOf(const QString &language)
{
    UErrorCode status = U_ZERO_ERROR;
    // QLocale writes "pt_BR", a language tag "pt-BR".
    const QString tag = QString(language).replace(u'_', u'-');
    const icu::Locale locale = icu::Locale::forLanguageTag(tag.toStdString(), status);
    return U_SUCCESS(status) ? locale : icu::Locale::getEnglish();
}

} // namespace

QString RelativeDate::describe(const QDateTime &when, const QDateTime &now, const QString &language)
{
    const qint64 elapsed = std::max<qint64>(when.secsTo(now), 0);
    auto [unit, length] = units.back();
    for (const auto &[candidate, candidateLength] : units) {
        if (elapsed >= candidateLength) {
            unit = candidate;
            length = candidateLength;
            break;
        }
    }

    UErrorCode status = U_ZERO_ERROR;
    // Named units ("yesterday", "now") where the language has them; the sentence goes on after
    // "Checked", so no capital.
    const icu::RelativeDateTimeFormatter formatter(localeOf(language), nullptr, UDAT_STYLE_LONG,
                                                   UDISPCTX_CAPITALIZATION_FOR_MIDDLE_OF_SENTENCE, status);
    icu::UnicodeString text;
    formatter.format(-double(elapsed / length), unit, text, status);
    if (U_FAILURE(status))
        return QLocale(language).toString(when, QLocale::ShortFormat);
    return QStringView(text.getBuffer(), text.length()).toString();
}
