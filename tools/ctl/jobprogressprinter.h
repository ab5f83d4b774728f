#pragma once

#include "catalog/catalog.h"

#include <QHash>
#include <QList>
#include <QObject>

class StoreModel;

// Shows the download progress of the model's jobs on standard error, apart from the results:
// a bar redrawn in place on a terminal, a line per tenth otherwise (logs, pipes).
class JobProgressPrinter : public QObject
{
public:
    JobProgressPrinter(const StoreModel &model, QList<CatalogApp> apps);

    // Ends the drawing, so that later lines start on a line of their own.
    void finish();

private:
    void update();

    const StoreModel &m_model;
    QList<CatalogApp> m_apps;
    QHash<QString, int> m_shownTenths;
    bool m_terminal;
    bool m_drawn = false;
};
