#include "presentation/storestatus.h"

StoreStatus::StoreStatus(StoreModel *model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(model, &StoreModel::loadStateChanged, this, &StoreStatus::loadStateChanged);
    connect(model, &StoreModel::lastCheckedChanged, this, &StoreStatus::lastCheckedChanged);
    connect(model, &StoreModel::updatesChanged, this, &StoreStatus::noteUpdates);
    m_updateCount = int(model->updates().size());
}

StoreModel::LoadState StoreStatus::loadState() const
{
    return m_model ? m_model->loadState() : StoreModel::LoadState::Loading;
}

QDateTime StoreStatus::lastChecked() const
{
    return m_model ? m_model->lastChecked() : QDateTime();
}

void StoreStatus::reload()
{
    if (!m_model)
        return;
    if (m_reloads++ == 0)
        Q_EMIT checkingChanged();
    QCoro::connect(m_model->load(), this, [this] {
        if (--m_reloads == 0)
            Q_EMIT checkingChanged();
    });
}

void StoreStatus::updateAll()
{
    // Started, not awaited: each job's course shows in the model.
    if (m_model)
        m_model->updateAll();
}

void StoreStatus::noteUpdates()
{
    const int count = m_model ? int(m_model->updates().size()) : 0;
    if (count == m_updateCount)
        return;
    m_updateCount = count;
    Q_EMIT updateCountChanged();
}
