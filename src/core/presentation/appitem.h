#pragma once

#include "catalog/catalog.h"
#include "model/storemodel.h"
#include "presentation/appstate.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

// One app for a view that shows it alone (a delegate, the detail page): its catalog record
// and its state as properties, and the action its button stands for.
class AppItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(StoreModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(QString productID READ productID WRITE setProductID NOTIFY productIDChanged)

    Q_PROPERTY(bool known READ known NOTIFY appChanged)
    Q_PROPERTY(QString name READ name NOTIFY appChanged)
    Q_PROPERTY(QString tagline READ tagline NOTIFY appChanged)
    Q_PROPERTY(QString description READ description NOTIFY appChanged)
    Q_PROPERTY(QString category READ category NOTIFY appChanged)
    Q_PROPERTY(QUrl iconURL READ iconURL NOTIFY appChanged)
    Q_PROPERTY(QList<QUrl> screenshots READ screenshots NOTIFY appChanged)
    Q_PROPERTY(QUrl websiteURL READ websiteURL NOTIFY appChanged)
    Q_PROPERTY(QUrl pageURL READ pageURL NOTIFY appChanged)
    Q_PROPERTY(QString requirementFact READ requirementFact NOTIFY appChanged)

    Q_PROPERTY(AppState::Action action READ action NOTIFY stateChanged)
    Q_PROPERTY(QString actionTitle READ actionTitle NOTIFY stateChanged)
    Q_PROPERTY(bool actionEnabled READ actionEnabled NOTIFY stateChanged)
    Q_PROPERTY(double progress READ progress NOTIFY stateChanged)
    Q_PROPERTY(bool indeterminate READ indeterminate NOTIFY stateChanged)
    Q_PROPERTY(AppState::Badge badge READ badge NOTIFY stateChanged)
    Q_PROPERTY(bool installed READ installed NOTIFY stateChanged)
    Q_PROPERTY(QString failureMessage READ failureMessage NOTIFY stateChanged)
    Q_PROPERTY(QString installedVersion READ installedVersion NOTIFY stateChanged)
    Q_PROPERTY(QString availableVersion READ availableVersion NOTIFY stateChanged)
    Q_PROPERTY(QString detail READ detail NOTIFY stateChanged)
    Q_PROPERTY(QString updateDetail READ updateDetail NOTIFY stateChanged)
    Q_PROPERTY(QString latestVersionFact READ latestVersionFact NOTIFY stateChanged)
    Q_PROPERTY(QString installedFact READ installedFact NOTIFY stateChanged)

public:
    explicit AppItem(QObject *parent = nullptr);
    AppItem(StoreModel *model, const QString &productID, QObject *parent = nullptr);

    StoreModel *model() const { return m_model; }
    void setModel(StoreModel *model);
    const QString &productID() const { return m_productID; }
    void setProductID(const QString &productID);

    // Whether the catalog has the app; every other property is empty when not.
    bool known() const { return m_app.has_value(); }
    QString name() const { return m_app ? m_app->name : QString(); }
    QString tagline() const;
    QString description() const;
    QString category() const { return m_app ? m_app->category : QString(); }
    QUrl iconURL() const { return m_app ? m_app->iconURL : QUrl(); }
    QList<QUrl> screenshots() const { return m_app ? m_app->screenshots : QList<QUrl>(); }
    QUrl websiteURL() const { return m_app ? m_app->websiteURL : QUrl(); }
    // The maker's page of the app in the model's language, for sharing.
    QUrl pageURL() const;
    // The detail page's facts: "Linux 6.1" (this build compares kernel releases), the release's
    // version or an em dash while its feed is unread, the installed version or "Not installed".
    QString requirementFact() const;
    QString latestVersionFact() const;
    QString installedFact() const;

    const AppState &state() const { return m_state; }
    AppState::Action action() const { return m_state.action; }
    const QString &actionTitle() const { return m_state.actionTitle; }
    bool actionEnabled() const { return m_state.enabled; }
    double progress() const { return m_state.progress; }
    bool indeterminate() const { return m_state.indeterminate; }
    AppState::Badge badge() const { return m_state.badge; }
    bool installed() const { return m_state.installed; }
    const QString &failureMessage() const { return m_state.failureMessage; }
    const QString &installedVersion() const { return m_state.installedVersion; }
    const QString &availableVersion() const { return m_state.availableVersion; }
    const QString &detail() const { return m_state.detail; }
    const QString &updateDetail() const { return m_state.updateDetail; }

    // What the button does now: try again (clear the failure, install), get or update
    // (install), open; nothing while installing or while disabled. Returns at once.
    Q_INVOKABLE void activate();
    Q_INVOKABLE void install();
    Q_INVOKABLE void open();
    Q_INVOKABLE void clearError();

Q_SIGNALS:
    void modelChanged();
    void productIDChanged();
    void appChanged();
    void stateChanged();

private:
    void attach();
    void refreshApp();
    void refreshState();
    void refreshIf(const QString &productID);

    QPointer<StoreModel> m_model;
    QString m_productID;
    std::optional<CatalogApp> m_app;
    AppState m_state;
};
