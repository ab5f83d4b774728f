#include "app/desktop/desktoplog.h"

Q_LOGGING_CATEGORY(lcDesktop, "tessel.desktop", QtInfoMsg)
