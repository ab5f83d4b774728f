#pragma once

#include <QDateTime>
#include <QString>

// A past moment written relative to now in a language, the way a desktop says it: "5 minutes
// ago", "yesterday", "3 weeks ago".
class RelativeDate
{
public:
    // The largest unit that fits the time between when and now, counted in whole units. A
    // moment after now (a clock set back) reads as now.
    static QString describe(const QDateTime &when, const QDateTime &now, const QString &language);
};
