#include "install/installlog.h"

Q_LOGGING_CATEGORY(lcInstall, "tessel.install")
