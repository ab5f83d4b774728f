#include "catalog/cataloglog.h"

Q_LOGGING_CATEGORY(lcCatalog, "tessel.catalog", QtInfoMsg)
