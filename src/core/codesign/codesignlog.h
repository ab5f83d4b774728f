#pragma once

#include <QLoggingCategory>

// The code-signature verifier's messages: "tessel.codesign".
Q_DECLARE_LOGGING_CATEGORY(lcCodesign)
