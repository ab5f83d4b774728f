#pragma once

#include "model/storemodel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

// The store as a whole, for the sidebar, the Updates header and the tray: whether the
// catalog is there, how many updates wait, when the last check ended, and whether a check
// the user asked for is running.
class StoreStatus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(StoreModel::LoadState loadState READ loadState NOTIFY loadStateChanged)
    Q_PROPERTY(int updateCount READ updateCount NOTIFY updateCountChanged)
    Q_PROPERTY(QDateTime lastChecked READ lastChecked NOTIFY lastCheckedChanged)
    Q_PROPERTY(bool checking READ checking NOTIFY checkingChanged)

public:
    explicit StoreStatus(StoreModel *model, QObject *parent = nullptr);

    StoreModel::LoadState loadState() const;
    int updateCount() const { return m_updateCount; }
    QDateTime lastChecked() const;
    // True while a reload() started here runs.
    bool checking() const { return m_reloads > 0; }

    // The whole refresh (catalog, installed copies, feeds); returns at once.
    Q_INVOKABLE void reload();
    // Installs every update; returns at once.
    Q_INVOKABLE void updateAll();

Q_SIGNALS:
    void loadStateChanged();
    void updateCountChanged();
    void lastCheckedChanged();
    void checkingChanged();

private:
    void noteUpdates();

    QPointer<StoreModel> m_model;
    int m_updateCount = 0;
    int m_reloads = 0;
};
