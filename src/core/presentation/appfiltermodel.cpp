#include "presentation/appfiltermodel.h"

#include "presentation/applistmodel.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs: the field is one line, and other white space may be searched for.
QString trimmedOfBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

} // namespace

AppFilterModel::AppFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &AppFilterModel::noteCount);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &AppFilterModel::noteCount);
    connect(this, &QAbstractItemModel::modelReset, this, &AppFilterModel::noteCount);
    connect(this, &QAbstractItemModel::layoutChanged, this, &AppFilterModel::noteCount);
}

void AppFilterModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    Q_EMIT queryChanged();
    scheduleFiltering();
}

void AppFilterModel::setFilter(Filter filter)
{
    if (m_filter == filter)
        return;
    m_filter = filter;
    Q_EMIT filterChanged();
    scheduleFiltering();
}

void AppFilterModel::setScope(Scope scope)
{
    if (m_scope == scope)
        return;
    m_scope = scope;
    Q_EMIT scopeChanged();
    scheduleFiltering();
}

bool AppFilterModel::matches(const QString &query, const QString &name, const QString &tagline)
{
    const QString needle = trimmedOfBlanks(query).toLower();
    return needle.isEmpty() || (name + u' ' + tagline).toLower().contains(needle);
}

bool AppFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    const bool installed = index.data(AppListModel::InstalledRole).toBool();
    const bool update = index.data(AppListModel::BadgeRole).value<AppState::Badge>() == AppState::Badge::Update;
    switch (m_scope) {
    case Scope::All:
        break;
    case Scope::Installed:
        if (!installed)
            return false;
        break;
    case Scope::NotInstalled:
        if (installed)
            return false;
        break;
    case Scope::Updates:
        if (!update)
            return false;
        break;
    }
    if ((m_filter == Filter::Installed && !installed) || (m_filter == Filter::NotInstalled && installed))
        return false;
    return matches(m_query, index.data(AppListModel::NameRole).toString(),
                   index.data(AppListModel::TaglineRole).toString());
}

void AppFilterModel::scheduleFiltering()
{
    if (m_filteringScheduled)
        return;
    m_filteringScheduled = true;
    QMetaObject::invokeMethod(this, &AppFilterModel::applyFiltering, Qt::QueuedConnection);
}

void AppFilterModel::applyFiltering()
{
    m_filteringScheduled = false;
    // Rows leave in runs, one signal each; the count changes once.
    m_filtering = true;
    invalidateRowsFilter();
    m_filtering = false;
    noteCount();
}

void AppFilterModel::noteCount()
{
    if (m_filtering || m_count == rowCount())
        return;
    m_count = rowCount();
    Q_EMIT countChanged();
}
