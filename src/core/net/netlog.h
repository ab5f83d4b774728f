#pragma once

#include <QLoggingCategory>

// The log of the network ("tessel.net").
Q_DECLARE_LOGGING_CATEGORY(lcNet)
