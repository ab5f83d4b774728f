#include "feeds/feedslog.h"

Q_LOGGING_CATEGORY(lcFeeds, "tessel.feeds", QtInfoMsg)
