#pragma once

#include "catalog/catalogorigin.h"

#include <QCommandLineParser>
#include <QString>

// What tesselctl says about a catalog it could not have, or had only from the kept copy.

// The lines under an error that say why no catalog could be had ("; " parts of problem),
// and from where the configuration it was checked against came: the command line, a store
// bundle's Info.plist, or the built-in production preset and why.
void explainCatalogFailure(const QString &problem, const QCommandLineParser &parser);

// One line on standard error when the service's catalog could not be used and the kept copy
// stands in: a script still gets the apps, and the log says they may be stale.
void warnAboutOrigin(const CatalogOrigin &origin, const QString &serviceProblem);
