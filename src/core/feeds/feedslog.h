#pragma once

#include <QLoggingCategory>

// The log of update feeds ("tessel.feeds").
Q_DECLARE_LOGGING_CATEGORY(lcFeeds)
