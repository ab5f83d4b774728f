#pragma once

#include <QSortFilterProxyModel>

// The apps a list shows, in catalog order: those of its scope that the filter keeps and
// whose name and tagline contain the search text. Set over an AppListModel. Changing
// several properties at once (as a view does when it is created) filters once, on the
// next turn of the event loop.
class AppFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
    // Filter and Scope share value names: a view names them Filter.All and Scope.All.
    Q_CLASSINFO("RegisterEnumClassesUnscoped", "false")
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(Filter filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(Scope scope READ scope WRITE setScope NOTIFY scopeChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    // What the user narrows the list to.
    enum class Filter { All, Installed, NotInstalled };
    Q_ENUM(Filter)
    // Which list this is: the whole catalog, My Apps' two lists, or the updates.
    enum class Scope { All, Installed, NotInstalled, Updates };
    Q_ENUM(Scope)

    explicit AppFilterModel(QObject *parent = nullptr);

    const QString &query() const { return m_query; }
    void setQuery(const QString &query);
    Filter filter() const { return m_filter; }
    void setFilter(Filter filter);
    Scope scope() const { return m_scope; }
    void setScope(Scope scope);
    int count() const { return rowCount(); }

    // The search rule alone: the needle (trimmed of spaces and tabs, lowercased) is empty
    // or a substring of name, one space and tagline, lowercased.
    static bool matches(const QString &query, const QString &name, const QString &tagline);

Q_SIGNALS:
    void queryChanged();
    void filterChanged();
    void scopeChanged();
    void countChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    void scheduleFiltering();
    void applyFiltering();
    void noteCount();

    QString m_query;
    Filter m_filter = Filter::All;
    Scope m_scope = Scope::All;
    bool m_filteringScheduled = false;
    bool m_filtering = false;
    int m_count = 0;
};
