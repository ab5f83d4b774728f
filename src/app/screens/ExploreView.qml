import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// Explore: the title and search field, the hero carousel while nothing is searched, and the
// grid of the catalog's apps narrowed by the search and the filter.
Item {
    id: explore
    property real storeScale: 1
    property StoreNavigation navigation
    readonly property bool searching: search.text.length > 0

    LoadingOrFailed {
        anchors.fill: parent
        visible: StoreData.apps.count === 0
    }
    Page {
        id: page
        objectName: "explorePage"
        anchors.fill: parent
        visible: StoreData.apps.count > 0
        maxWidth: 1240
        storeScale: explore.storeScale

        Row {
            width: parent.width
            spacing: 24
            Headline {
                width: parent.width - search.width - parent.spacing
                title: qsTr("Every Orvel app.")
                storeScale: explore.storeScale
            }
            Item {
                width: search.width
                height: search.height + 8
                StoreField {
                    id: search
                    objectName: "search"
                    y: 8
                    title: qsTr("Search")
                    symbol: "magnifyingglass"
                    fieldWidth: 232
                }
            }
        }
        // Cleared search, new carousel: it starts again at the first app.
        Loader {
            width: parent.width
            active: !explore.searching
            visible: active
            sourceComponent: HeroCarousel {
                storeScale: explore.storeScale
                navigation: explore.navigation
            }
        }
        Column {
            width: parent.width
            spacing: 16
            SectionHeader {
                title: explore.searching ? qsTr("Results") : qsTr("All apps")
                StoreSegmented {
                    id: filterControl
                    options: [
                        { value: AppFilterModel.Filter.All, title: qsTr("All") },
                        { value: AppFilterModel.Filter.Installed, title: qsTr("Installed") },
                        { value: AppFilterModel.Filter.NotInstalled, title: qsTr("Not installed") }
                    ]
                    selection: shown.filter
                    onSelected: value => shown.filter = value
                }
            }
            EmptyState {
                visible: shown.count === 0
                symbol: "magnifyingglass"
                title: qsTr("No apps match.")
            }
            AppGrid {
                visible: shown.count > 0
                visibleTop: page.visibleTop - parent.y
                visibleHeight: page.height
                storeScale: explore.storeScale
                navigation: explore.navigation
                model: AppFilterModel {
                    id: shown
                    objectName: "shown"
                    sourceModel: StoreData.apps
                    query: search.text
                }
            }
        }
    }
}
