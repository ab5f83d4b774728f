#pragma once

#include "catalog/catalog.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>

class StoreModel;

// Shows the download progress of the model's jobs on standard error, apart from the results:
// on a terminal a bar redrawn in place, with the bytes, the speed and the time left when the
// feed gave the archive's length; a line per tenth otherwise (logs, pipes).
class JobProgressPrinter : public QObject
{
public:
    JobProgressPrinter(const StoreModel &model, QList<CatalogApp> apps);

    // Ends the drawing, so that later lines start on a line of their own.
    void finish();

private:
    void update();
    // "12.3 MB of 29.0 MB, 2.1 MB/s, 8 s left"; empty when the length is not known.
    QString transferLine(const CatalogApp &app, double fraction);

    const StoreModel &m_model;
    QList<CatalogApp> m_apps;
    QHash<QString, int> m_shownTenths;
    QHash<QString, QElapsedTimer> m_started; // from each app's first report
    bool m_terminal;
    bool m_drawn = false;
};
