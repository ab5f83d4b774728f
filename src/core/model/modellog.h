#pragma once

#include <QLoggingCategory>

// The log of the store model ("tessel.model").
Q_DECLARE_LOGGING_CATEGORY(lcModel)
