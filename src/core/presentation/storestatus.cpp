#include "presentation/storestatus.h"

#include "presentation/relativedate.h"

StoreStatus::StoreStatus(StoreModel *model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(model, &StoreModel::loadStateChanged, this, &StoreStatus::loadStateChanged);
    connect(model, &StoreModel::lastCheckedChanged, this, &StoreStatus::lastCheckedChanged);
    connect(model, &StoreModel::lastCheckedChanged, this, &StoreStatus::refreshCheckedLine);
    connect(model, &StoreModel::updatesChanged, this, &StoreStatus::noteUpdates);
    m_updateCount = int(model->updates().size());
    // "Checked 5 minutes ago" grows older without any change in the model.
    m_minuteTimer.setInterval(std::chrono::minutes(1));
    connect(&m_minuteTimer, &QTimer::timeout, this, &StoreStatus::refreshCheckedLine);
    m_minuteTimer.start();
    refreshCheckedLine();
}

StoreModel::LoadState StoreStatus::loadState() const
{
    return m_model ? m_model->loadState() : StoreModel::LoadState::Loading;
}

QString StoreStatus::updatesLine() const
{
    if (m_updateCount == 0)
        return tr("Everything is up to date.");
    if (m_updateCount == 1)
        return tr("One app to update.");
    return tr("%n apps to update.", nullptr, m_updateCount);
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

void StoreStatus::refreshCheckedLine()
{
    const QDateTime checked = lastChecked();
    const QString line =
        checked.isValid() ? tr("Checked %1").arg(RelativeDate::describe(checked, m_model->now(), m_model->language()))
                          : QString();
    if (line == m_checkedLine)
        return;
    m_checkedLine = line;
    Q_EMIT checkedLineChanged();
}
