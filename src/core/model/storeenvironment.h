#pragma once

#include "platform/bundle.h"
#include "platform/locations.h"
#include "platform/systemversion.h"

#include <QDateTime>
#include <QStringList>
#include <functional>

class QNetworkAccessManager;

// Everything the store model takes from the machine it runs on, handed in at creation
// so that a test can build a model over its own folders, server and clock.
struct StoreEnvironment
{
    QNetworkAccessManager *session = nullptr; // not owned; must outlive the model
    Bundle mainBundle;
    Locations locations;
    SystemVersion systemVersion;
    QStringList preferredLanguages;
    std::function<QDateTime()> now;
};
