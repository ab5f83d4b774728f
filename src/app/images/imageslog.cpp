#include "app/images/imageslog.h"

Q_LOGGING_CATEGORY(lcImages, "tessel.images", QtInfoMsg)
