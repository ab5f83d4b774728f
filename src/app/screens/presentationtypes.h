#pragma once

#include "model/storemodel.h"
#include "presentation/appfiltermodel.h"
#include "presentation/appitem.h"
#include "presentation/applistmodel.h"
#include "presentation/appstate.h"
#include "presentation/herocarouselstate.h"
#include "presentation/screenshotviewerstate.h"
#include "presentation/storenavigation.h"
#include "presentation/storestatus.h"

#include <QQmlEngine>

// The core's presentation objects as the screens name them. The core knows nothing of QML;
// these declarations give its types their QML names here.

struct AppItemForeign
{
    Q_GADGET
    QML_FOREIGN(AppItem)
    QML_NAMED_ELEMENT(AppItem)
};

struct AppFilterModelForeign
{
    Q_GADGET
    QML_FOREIGN(AppFilterModel)
    QML_NAMED_ELEMENT(AppFilterModel)
};

struct StoreNavigationForeign
{
    Q_GADGET
    QML_FOREIGN(StoreNavigation)
    QML_NAMED_ELEMENT(StoreNavigation)
};

struct ScreenshotViewerStateForeign
{
    Q_GADGET
    QML_FOREIGN(ScreenshotViewerState)
    QML_NAMED_ELEMENT(ScreenshotViewerState)
};

struct HeroCarouselStateForeign
{
    Q_GADGET
    QML_FOREIGN(HeroCarouselState)
    QML_NAMED_ELEMENT(HeroCarouselState)
};

struct StoreModelForeign
{
    Q_GADGET
    QML_FOREIGN(StoreModel)
    QML_NAMED_ELEMENT(StoreModel)
    QML_UNCREATABLE("the store has one model, StoreData.model")
};

struct StoreStatusForeign
{
    Q_GADGET
    QML_FOREIGN(StoreStatus)
    QML_NAMED_ELEMENT(StoreStatus)
    QML_UNCREATABLE("the store has one status, StoreData.status")
};

struct AppListModelForeign
{
    Q_GADGET
    QML_FOREIGN(AppListModel)
    QML_NAMED_ELEMENT(AppListModel)
    QML_UNCREATABLE("the store has one list of apps, StoreData.apps")
};

// AppState's enumerations, as AppState.Get and so on.
namespace AppStateForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(AppState)
QML_NAMED_ELEMENT(AppState)
} // namespace AppStateForeign
