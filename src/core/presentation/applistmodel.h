#pragma once

#include "presentation/appstate.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QPointer>

class StoreModel;

// The catalog's apps as a list for views: one row per app in catalog order, with what a
// card, a row or a hero shows. A new catalog resets the list; a change to one app is one
// dataChanged on its row, for the roles that changed.
class AppListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        ProductIDRole = Qt::UserRole + 1,
        NameRole,
        TaglineRole,
        DescriptionRole,
        CategoryRole,
        IconURLRole,
        ScreenshotsRole,
        WebsiteURLRole,
        ActionRole,
        ActionTitleRole,
        EnabledRole,
        ProgressRole,
        IndeterminateRole,
        BadgeRole,
        InstalledRole,
        FailureMessageRole,
        InstalledVersionRole,
        AvailableVersionRole,
        DetailRole,
        UpdateDetailRole,
    };
    Q_ENUM(Role)

    explicit AppListModel(StoreModel *model, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_states.size()); }

Q_SIGNALS:
    void countChanged();

private:
    void reset();
    void refresh(const QString &productID);
    void refreshAll();
    void refreshRow(int row);

    QPointer<StoreModel> m_model;
    QList<AppState> m_states; // per row of the model's apps
    QHash<QString, int> m_rows;
};
