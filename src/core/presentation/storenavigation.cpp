#include "presentation/storenavigation.h"

#include <algorithm>

StoreNavigation::StoreNavigation(QObject *parent) : StoreNavigation(UserDefaults::standard(), parent) {}

StoreNavigation::StoreNavigation(UserDefaults defaults, QObject *parent)
    : QObject(parent), m_defaults(std::move(defaults)),
      m_section(StoreSections::fromStored(m_defaults.string(QStringLiteral("section"))))
{}

void StoreNavigation::setModel(StoreModel *model)
{
    if (m_model == model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (m_model)
        connect(m_model, &StoreModel::appsChanged, this, &StoreNavigation::noteApps);
    m_hasApps = m_model && !m_model->apps().isEmpty();
    Q_EMIT modelChanged();
    openRequestedApp();
}

void StoreNavigation::select(const QString &section)
{
    const std::optional<StoreSection> chosen = StoreSections::fromRawValue(section);
    if (!chosen || *chosen == m_section)
        return;
    m_section = *chosen;
    Q_EMIT sectionChanged();
    setPath({});
}

void StoreNavigation::showSection(const QVariant &section)
{
    // A QVariant converts numbers and lists to strings; the message must carry a string itself.
    if (section.typeId() == QMetaType::QString)
        select(section.toString());
}

void StoreNavigation::openApp(const QString &productID)
{
    setPath({productID});
}

void StoreNavigation::back()
{
    if (m_path.isEmpty())
        return;
    QStringList path = m_path;
    path.removeLast();
    setPath(std::move(path));
}

void StoreNavigation::noteApps()
{
    const bool hasApps = m_model && !m_model->apps().isEmpty();
    if (hasApps == m_hasApps)
        return;
    m_hasApps = hasApps;
    openRequestedApp();
}

void StoreNavigation::openRequestedApp()
{
    // Only read, never removed: like "section", it is a launch option.
    const std::optional<QString> requested = m_defaults.string(QStringLiteral("openApp"));
    if (!requested || !m_path.isEmpty() || !m_model)
        return;
    const QList<CatalogApp> &apps = m_model->apps();
    if (std::any_of(apps.cbegin(), apps.cend(), [&](const CatalogApp &app) { return app.productID == *requested; }))
        openApp(*requested);
}

void StoreNavigation::setPath(QStringList path)
{
    if (path == m_path)
        return;
    m_path = std::move(path);
    Q_EMIT pathChanged();
}
