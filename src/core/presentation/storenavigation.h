#pragma once

#include "model/storemodel.h"
#include "platform/userdefaults.h"
#include "shell/storesection.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

// The selected section and the navigation path of one window. The "section" default picks
// the first section; the "openApp" default opens an app's page once the catalog is there.
class StoreNavigation : public QObject
{
    Q_OBJECT
    Q_PROPERTY(StoreModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(QString section READ section NOTIFY sectionChanged)
    Q_PROPERTY(QString sectionTitle READ sectionTitle NOTIFY sectionChanged)
    Q_PROPERTY(QStringList path READ path NOTIFY pathChanged)
    Q_PROPERTY(QString detailProductID READ detailProductID NOTIFY pathChanged)
    Q_PROPERTY(bool showsDetail READ showsDetail NOTIFY pathChanged)

public:
    explicit StoreNavigation(QObject *parent = nullptr);
    explicit StoreNavigation(UserDefaults defaults, QObject *parent = nullptr);

    StoreModel *model() const { return m_model; }
    void setModel(StoreModel *model);

    // The raw value of the selected section.
    QString section() const { return StoreSections::rawValue(m_section); }
    // The label of a detail page's back control.
    QString sectionTitle() const { return StoreSections::title(m_section); }
    const QStringList &path() const { return m_path; }
    QString detailProductID() const { return m_path.isEmpty() ? QString() : m_path.last(); }
    bool showsDetail() const { return !m_path.isEmpty(); }

    // Another section closes the detail page; the selected one and unknown names change nothing.
    Q_INVOKABLE void select(const QString &section);
    // The show-section message: only a string naming a section counts.
    Q_INVOKABLE void showSection(const QVariant &section);
    Q_INVOKABLE void openApp(const QString &productID);
    Q_INVOKABLE void back();

Q_SIGNALS:
    void modelChanged();
    void sectionChanged();
    void pathChanged();

private:
    void noteApps();
    void openRequestedApp();
    void setPath(QStringList path);

    UserDefaults m_defaults;
    QPointer<StoreModel> m_model;
    StoreSection m_section;
    QStringList m_path;
    bool m_hasApps = false;
};
