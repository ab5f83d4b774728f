#include "net/netlog.h"

Q_LOGGING_CATEGORY(lcNet, "tessel.net", QtInfoMsg)
