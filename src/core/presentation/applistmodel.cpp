#include "presentation/applistmodel.h"

#include "model/storemodel.h"

namespace {

// The state roles whose values differ between two states of one app.
QList<int> changedRoles(const AppState &before, const AppState &after)
{
    using Role = AppListModel::Role;
    QList<int> roles;
    const auto note = [&roles](bool changed, Role role) {
        if (changed)
            roles.append(role);
    };
    note(before.action != after.action, Role::ActionRole);
    note(before.actionTitle != after.actionTitle, Role::ActionTitleRole);
    note(before.enabled != after.enabled, Role::EnabledRole);
    note(before.progress != after.progress, Role::ProgressRole);
    note(before.indeterminate != after.indeterminate, Role::IndeterminateRole);
    note(before.badge != after.badge, Role::BadgeRole);
    note(before.installed != after.installed, Role::InstalledRole);
    note(before.failureMessage != after.failureMessage, Role::FailureMessageRole);
    note(before.installedVersion != after.installedVersion, Role::InstalledVersionRole);
    note(before.availableVersion != after.availableVersion, Role::AvailableVersionRole);
    note(before.detail != after.detail, Role::DetailRole);
    note(before.updateDetail != after.updateDetail, Role::UpdateDetailRole);
    return roles;
}

} // namespace

AppListModel::AppListModel(StoreModel *model, QObject *parent) : QAbstractListModel(parent), m_model(model)
{
    connect(model, &StoreModel::appsChanged, this, &AppListModel::reset);
    connect(model, &StoreModel::jobChanged, this, &AppListModel::refresh);
    connect(model, &StoreModel::releaseChanged, this, &AppListModel::refresh);
    // An installed copy or the list of updates may change any row.
    connect(model, &StoreModel::installedChanged, this, &AppListModel::refreshAll);
    connect(model, &StoreModel::updatesChanged, this, &AppListModel::refreshAll);
    reset();
}

int AppListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant AppListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_model ||
        index.row() >= m_model->apps().size())
        return {};
    const CatalogApp &app = m_model->apps().at(index.row());
    const AppState &state = m_states.at(index.row());
    switch (Role(role)) {
    case ProductIDRole:
        return app.productID;
    case NameRole:
        return app.name;
    case TaglineRole:
        return app.taglineFor(m_model->language());
    case DescriptionRole:
        return app.descriptionFor(m_model->language());
    case CategoryRole:
        return app.category;
    case IconURLRole:
        return app.iconURL;
    case ScreenshotsRole:
        return QVariant::fromValue(app.screenshots);
    case WebsiteURLRole:
        return app.websiteURL;
    case ActionRole:
        return QVariant::fromValue(state.action);
    case ActionTitleRole:
        return state.actionTitle;
    case EnabledRole:
        return state.enabled;
    case ProgressRole:
        return state.progress;
    case IndeterminateRole:
        return state.indeterminate;
    case BadgeRole:
        return QVariant::fromValue(state.badge);
    case InstalledRole:
        return state.installed;
    case FailureMessageRole:
        return state.failureMessage;
    case InstalledVersionRole:
        return state.installedVersion;
    case AvailableVersionRole:
        return state.availableVersion;
    case DetailRole:
        return state.detail;
    case UpdateDetailRole:
        return state.updateDetail;
    }
    return {};
}

QHash<int, QByteArray> AppListModel::roleNames() const
{
    return {
        {ProductIDRole, "productID"},
        {NameRole, "name"},
        {TaglineRole, "tagline"},
        {DescriptionRole, "description"},
        {CategoryRole, "category"},
        {IconURLRole, "iconURL"},
        {ScreenshotsRole, "screenshots"},
        {WebsiteURLRole, "websiteURL"},
        {ActionRole, "action"},
        {ActionTitleRole, "actionTitle"},
        {EnabledRole, "actionEnabled"},
        {ProgressRole, "progress"},
        {IndeterminateRole, "indeterminate"},
        {BadgeRole, "badge"},
        {InstalledRole, "installed"},
        {FailureMessageRole, "failureMessage"},
        {InstalledVersionRole, "installedVersion"},
        {AvailableVersionRole, "availableVersion"},
        {DetailRole, "detail"},
        {UpdateDetailRole, "updateDetail"},
    };
}

void AppListModel::reset()
{
    const int before = count();
    beginResetModel();
    m_states.clear();
    m_rows.clear();
    if (m_model) {
        for (const CatalogApp &app : m_model->apps()) {
            m_rows.insert(app.productID, int(m_states.size()));
            m_states.append(AppState::of(*m_model, app));
        }
    }
    endResetModel();
    if (count() != before)
        Q_EMIT countChanged();
}

void AppListModel::refresh(const QString &productID)
{
    const auto row = m_rows.constFind(productID);
    if (row != m_rows.constEnd())
        refreshRow(*row);
}

void AppListModel::refreshAll()
{
    for (int row = 0; row < count(); ++row)
        refreshRow(row);
}

void AppListModel::refreshRow(int row)
{
    if (!m_model)
        return;
    // The model's own listeners hear of a new catalog first, and may report new updates
    // before this list has heard of it: then its rows are the old catalog's.
    const QList<CatalogApp> &apps = m_model->apps();
    if (row >= apps.size() || m_rows.value(apps.at(row).productID, -1) != row) {
        reset();
        return;
    }
    AppState state = AppState::of(*m_model, m_model->apps().at(row));
    const QList<int> roles = changedRoles(m_states.at(row), state);
    m_states[row] = std::move(state); // builds have no role, yet they are kept current
    if (roles.isEmpty())
        return;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, roles);
}
