#pragma once

#include <QLoggingCategory>

// The log of the catalog and its loader ("tessel.catalog").
Q_DECLARE_LOGGING_CATEGORY(lcCatalog)
