#include "codesign/codesignlog.h"

Q_LOGGING_CATEGORY(lcCodesign, "tessel.codesign")
