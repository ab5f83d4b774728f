#include "presentation/storestatus.h"

#include "presentation/relativedate.h"

StoreStatus::StoreStatus(StoreModel *model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(model, &StoreModel::loadStateChanged, this, &StoreStatus::loadStateChanged);
    connect(model, &StoreModel::lastCheckedChanged, this, &StoreStatus::lastCheckedChanged);
    connect(model, &StoreModel::lastCheckedChanged, this, &StoreStatus::refreshCheckedLine);
    connect(model, &StoreModel::updatesChanged, this, &StoreStatus::noteUpdates);
    connect(model, &StoreModel::checkFailuresChanged, this, &StoreStatus::updatesLineChanged);
    connect(model, &StoreModel::appsChanged, this, &StoreStatus::updatesLineChanged);
    connect(this, &StoreStatus::updateCountChanged, this, &StoreStatus::updatesLineChanged);
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
    if (m_updateCount == 0 && m_model && !uncheckedApps(*m_model).isEmpty())
        return tr("No updates found.");
    if (m_updateCount == 0)
        return tr("Everything is up to date.");
    if (m_updateCount == 1)
        return tr("One app to update.");
    return tr("%n apps to update.", nullptr, m_updateCount);
}

QList<CatalogApp> StoreStatus::uncheckedApps(const StoreModel &model)
{
    QList<CatalogApp> apps;
    for (const CatalogApp &app : model.apps()) {
        if (model.checkFailures().contains(app.productID))
            apps.append(app);
    }
    return apps;
}

QString StoreStatus::checkProblem(const StoreModel &model)
{
    const QList<CatalogApp> apps = uncheckedApps(model);
    if (apps.isEmpty())
        return {};
    // When no feed answered at all, the service is down or out of reach; otherwise the feeds
    // themselves are at fault.
    const bool noAnswer = std::all_of(apps.begin(), apps.end(), [&model](const CatalogApp &app) {
        return !model.checkFailures().value(app.productID).answered;
    });
    const int count = int(apps.size());
    if (noAnswer)
        return count == 1 ? tr("Could not check one app: the update service did not answer.")
                          : tr("Could not check %n apps: the update service did not answer.", nullptr, count);
    return count == 1 ? tr("Could not check one app: its update feed could not be read.")
                      : tr("Could not check %n apps: their update feeds could not be read.", nullptr, count);
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
