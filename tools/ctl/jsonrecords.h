#pragma once

#include "catalog/catalog.h"
#include "feeds/appcastrelease.h"
#include "install/installedapp.h"

#include <QJsonObject>

class StoreModel;

// The objects that --json prints, one per line, one per app (or release). Field names are
// stable; a value that is not known is null. Addresses are fully encoded.
namespace JsonRecords {

// catalog, verify-catalog: {"id", "name", "bundleID", "teamID", "minimumSystemVersion", "appcastURL"}
QJsonObject catalogApp(const CatalogApp &app);

// installed: {"id", "path", "version", "build"}
QJsonObject installedCopy(const CatalogApp &app, const InstalledApp &copy);

// check: {"id", "installedVersion", "installedBuild", "availableVersion", "availableBuild",
// "status", "reason"}; status is "update", "current", "notInstalled" or "unchecked" (the
// feed could not be read: reason says why; otherwise reason is null).
QJsonObject checkedApp(const StoreModel &model, const CatalogApp &app);

// newest-release: {"build", "version", "url", "length", "edSignature", "minimumSystemVersion"}
QJsonObject release(const AppcastRelease &release);

// Writes the object on one line of standard output.
void print(const QJsonObject &record);

} // namespace JsonRecords
