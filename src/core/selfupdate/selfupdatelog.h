#pragma once

#include <QLoggingCategory>

// The log of the store's own updates ("tessel.selfupdate").
Q_DECLARE_LOGGING_CATEGORY(lcSelfUpdate)
