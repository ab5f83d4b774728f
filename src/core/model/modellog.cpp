#include "model/modellog.h"

Q_LOGGING_CATEGORY(lcModel, "tessel.model", QtInfoMsg)
