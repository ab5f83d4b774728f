#include "selfupdate/selfupdatelog.h"

Q_LOGGING_CATEGORY(lcSelfUpdate, "tessel.selfupdate", QtInfoMsg)
