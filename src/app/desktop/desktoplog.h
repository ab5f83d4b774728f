#pragma once

#include <QLoggingCategory>

// The log of what the desktop tells the window ("tessel.desktop").
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
