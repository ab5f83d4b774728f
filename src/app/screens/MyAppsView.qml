import QtQuick
import TesselStore.Components
import TesselStore.Screens

// My Apps: the maker's apps on this computer, then those not installed.
Page {
    id: page
    property StoreNavigation navigation
    maxWidth: 900

    Headline {
        title: qsTr("My Apps")
        storeScale: page.storeScale
    }
    RowList {
        id: installed
        visible: count > 0
        caption: qsTr("On this computer")
        scope: AppFilterModel.Scope.Installed
        navigation: page.navigation
    }
    EmptyState {
        visible: installed.count === 0
        symbol: "square.grid.2x2"
        title: qsTr("None of Orvel's apps is installed here yet.")
    }
    RowList {
        visible: count > 0
        caption: qsTr("Not installed")
        scope: AppFilterModel.Scope.NotInstalled
        navigation: page.navigation
    }
}
