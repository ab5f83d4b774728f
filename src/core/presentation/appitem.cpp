#include "presentation/appitem.h"

#include "model/storemodel.h"
#include "platform/systemversion.h"
#include "shell/storelinks.h"

#include <qcorotask.h>

AppItem::AppItem(QObject *parent) : QObject(parent) {}

AppItem::AppItem(StoreModel *model, const QString &productID, QObject *parent) : QObject(parent)
{
    m_productID = productID;
    setModel(model);
}

void AppItem::setModel(StoreModel *model)
{
    if (m_model == model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    attach();
    Q_EMIT modelChanged();
    refreshApp();
}

void AppItem::setProductID(const QString &productID)
{
    if (m_productID == productID)
        return;
    m_productID = productID;
    Q_EMIT productIDChanged();
    refreshApp();
}

QString AppItem::tagline() const
{
    return m_app && m_model ? m_app->taglineFor(m_model->language()) : QString();
}

QString AppItem::description() const
{
    return m_app && m_model ? m_app->descriptionFor(m_model->language()) : QString();
}

QUrl AppItem::pageURL() const
{
    return m_app && m_model ? StoreLinks::appPageURL(m_app->productID, m_model->language()) : QUrl();
}

QString AppItem::requirementFact() const
{
    return m_app ? SystemVersion::platformName() + u' ' + m_app->minimumSystemVersion : QString();
}

QString AppItem::latestVersionFact() const
{
    // A sign, not a word: the same in every language.
    return m_state.availableVersion.isEmpty() ? QStringLiteral("\u2014") : m_state.availableVersion;
}

QString AppItem::installedFact() const
{
    // The disambiguation carries the key translators know the text by.
    return m_state.installed ? m_state.installedVersion : tr("Not installed", "fact.notInstalled");
}

void AppItem::attach()
{
    if (!m_model)
        return;
    connect(m_model, &StoreModel::appsChanged, this, &AppItem::refreshApp);
    connect(m_model, &StoreModel::jobChanged, this, &AppItem::refreshIf);
    connect(m_model, &StoreModel::releaseChanged, this, &AppItem::refreshIf);
    connect(m_model, &StoreModel::installedChanged, this, &AppItem::refreshState);
    connect(m_model, &StoreModel::updatesChanged, this, &AppItem::refreshState);
}

void AppItem::refreshApp()
{
    std::optional<CatalogApp> app;
    if (m_model) {
        for (const CatalogApp &candidate : m_model->apps()) {
            if (candidate.productID == m_productID) {
                app = candidate;
                break;
            }
        }
    }
    if (app != m_app) {
        m_app = std::move(app);
        Q_EMIT appChanged();
    }
    refreshState();
}

void AppItem::refreshIf(const QString &productID)
{
    if (productID == m_productID)
        refreshState();
}

void AppItem::refreshState()
{
    AppState state = m_model && m_app ? AppState::of(*m_model, *m_app) : AppState();
    if (state == m_state)
        return;
    m_state = std::move(state);
    Q_EMIT stateChanged();
}

void AppItem::activate()
{
    if (!m_state.enabled)
        return;
    switch (m_state.action) {
    case AppState::Action::TryAgain:
        clearError();
        install();
        break;
    case AppState::Action::Get:
    case AppState::Action::Update:
        install();
        break;
    case AppState::Action::Open:
        open();
        break;
    case AppState::Action::Installing:
        break;
    }
}

void AppItem::install()
{
    // Started, not awaited: the model reports the job's course through its state.
    if (m_model && m_app)
        m_model->install(*m_app);
}

void AppItem::open()
{
    if (m_model && m_app)
        m_model->open(*m_app);
}

void AppItem::clearError()
{
    if (m_model && m_app)
        m_model->clearError(*m_app);
}
