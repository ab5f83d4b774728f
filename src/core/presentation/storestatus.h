#pragma once

#include "model/storemodel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

// The store as a whole, for the sidebar, the Updates header and the tray: whether the
// catalog is there, how many updates wait, when the last check ended, and whether a check
// the user asked for is running.
class StoreStatus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(StoreModel::LoadState loadState READ loadState NOTIFY loadStateChanged)
    Q_PROPERTY(int updateCount READ updateCount NOTIFY updateCountChanged)
    Q_PROPERTY(QString updatesLine READ updatesLine NOTIFY updatesLineChanged)
    Q_PROPERTY(QString checkProblemLine READ checkProblemLine NOTIFY updatesLineChanged)
    Q_PROPERTY(bool canUpdateAll READ canUpdateAll NOTIFY updateCountChanged)
    Q_PROPERTY(QDateTime lastChecked READ lastChecked NOTIFY lastCheckedChanged)
    Q_PROPERTY(QString checkedLine READ checkedLine NOTIFY checkedLineChanged)
    Q_PROPERTY(bool checking READ checking NOTIFY checkingChanged)
    Q_PROPERTY(bool canCheckAgain READ canCheckAgain NOTIFY checkingChanged)

public:
    explicit StoreStatus(StoreModel *model, QObject *parent = nullptr);

    StoreModel::LoadState loadState() const;
    int updateCount() const { return m_updateCount; }
    // "One app to update.", "3 apps to update.", "Everything is up to date."; never the
    // last when some app's feed could not be read: then "No updates found.".
    QString updatesLine() const;
    // "Could not check 3 apps: the update service did not answer."; empty when the last
    // check read every feed.
    QString checkProblemLine() const { return m_model ? checkProblem(*m_model) : QString(); }
    // The same sentence for any model, for those that show it without a status.
    static QString checkProblem(const StoreModel &model);
    // The catalog apps whose feed could not be read in the last check, in catalog order.
    static QList<CatalogApp> uncheckedApps(const StoreModel &model);
    // "Update All" is offered only where it does more than the row's own button.
    bool canUpdateAll() const { return m_updateCount >= 2; }
    QDateTime lastChecked() const;
    // "Checked 5 minutes ago"; empty before the first check has ended. Kept current by the minute.
    const QString &checkedLine() const { return m_checkedLine; }
    // True while a reload() started here runs.
    bool checking() const { return m_reloads > 0; }
    bool canCheckAgain() const { return !checking(); }

    // The whole refresh (catalog, installed copies, feeds); returns at once.
    Q_INVOKABLE void reload();
    // Installs every update; returns at once.
    Q_INVOKABLE void updateAll();

Q_SIGNALS:
    void loadStateChanged();
    void updateCountChanged();
    void updatesLineChanged();
    void lastCheckedChanged();
    void checkedLineChanged();
    void checkingChanged();

private:
    void noteUpdates();
    void refreshCheckedLine();

    QPointer<StoreModel> m_model;
    int m_updateCount = 0;
    int m_reloads = 0;
    QString m_checkedLine;
    QTimer m_minuteTimer;
};
