#include "app/screens/storedata.h"

#include "app/screens/offlineicons.h"
#include "app/window/storeresources.h"
#include "platform/bundle.h"
#include "presentation/applistmodel.h"
#include "presentation/storestatus.h"
#include "shell/storesection.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

StoreData::StoreData(StoreModel *model, StoreStatus *status, QObject *parent)
    : QObject(parent), m_model(model), m_status(status), m_apps(std::make_unique<AppListModel>(model)),
      // Read once: the bundle's information is a file.
      m_version(Bundle::main().string(QStringLiteral("CFBundleShortVersionString")))
{
    if (m_version.isEmpty())
        m_version = QStringLiteral("1.0");
}

StoreData::~StoreData() = default;

QString StoreData::appIcon() const
{
    return StoreResources::instance()->appIconUrl();
}

void StoreData::setReduceMotion(bool reduce)
{
    if (m_reduceMotion == reduce)
        return;
    m_reduceMotion = reduce;
    Q_EMIT reduceMotionChanged();
}

QString StoreData::sectionTitle(const QString &section) const
{
    const std::optional<StoreSection> found = StoreSections::fromRawValue(section);
    return found ? StoreSections::title(*found) : QString();
}

QString StoreData::sectionSymbol(const QString &section) const
{
    const std::optional<StoreSection> found = StoreSections::fromRawValue(section);
    return found ? StoreSections::symbol(*found) : QString();
}

QUrl StoreData::offlineIcon(const QString &productID) const
{
    const std::optional<QString> path = OfflineIcons::standard().path(productID);
    return path ? QUrl::fromLocalFile(*path) : QUrl();
}

void StoreData::openURL(const QUrl &url) const
{
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void StoreData::copyText(const QString &text) const
{
    QGuiApplication::clipboard()->setText(text);
}
