#pragma once

#include "app/theme/providedsingleton.h"

#include <QPointer>
#include <QQmlEngine>
#include <QUrl>

class AppListModel;
class StoreModel;
class StoreStatus;

// What the screens read from the store: the model, its status and its apps as one shared
// list, the store's version, and the few desktop services a page calls on.
class StoreData : public QObject, public ProvidedSingleton<StoreData>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(StoreModel *model READ model CONSTANT)
    Q_PROPERTY(StoreStatus *status READ status CONSTANT)
    Q_PROPERTY(AppListModel *apps READ apps CONSTANT)
    Q_PROPERTY(QString version MEMBER m_version CONSTANT)
    Q_PROPERTY(QString appIcon READ appIcon CONSTANT)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)

public:
    // No default: QML would construct its own instance instead of taking the provided one.
    StoreData(StoreModel *model, StoreStatus *status, QObject *parent);
    ~StoreData() override;

    StoreModel *model() const { return m_model; }
    StoreStatus *status() const { return m_status; }
    AppListModel *apps() const { return m_apps.get(); }
    // The resource bundle's icon of the store, as a URL; empty without one.
    QString appIcon() const;

    // The desktop asks for as little movement as possible.
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool reduce);

    // A section's title and its sidebar symbol, by raw value; empty for no section.
    Q_INVOKABLE QString sectionTitle(const QString &section) const;
    Q_INVOKABLE QString sectionSymbol(const QString &section) const;

    // The icon the store carries for the app, as a file URL; empty when it carries none.
    Q_INVOKABLE QUrl offlineIcon(const QString &productID) const;
    // In the default browser.
    Q_INVOKABLE void openURL(const QUrl &url) const;
    Q_INVOKABLE void copyText(const QString &text) const;

Q_SIGNALS:
    void reduceMotionChanged();

private:
    QPointer<StoreModel> m_model;
    QPointer<StoreStatus> m_status;
    std::unique_ptr<AppListModel> m_apps;
    QString m_version; // the bundle's short version, "1.0" when it has none
    bool m_reduceMotion = false;
};
