#pragma once

#include <QLoggingCategory>

// The log of remote images ("tessel.images").
Q_DECLARE_LOGGING_CATEGORY(lcImages)
