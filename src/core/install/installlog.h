#pragma once

#include <QLoggingCategory>

// The installer's messages: "tessel.install".
Q_DECLARE_LOGGING_CATEGORY(lcInstall)
