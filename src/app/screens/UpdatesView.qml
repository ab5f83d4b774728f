import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// Updates: how many apps wait for one and when the store last looked, Check Again and
// Update All, and the apps with their version change.
Page {
    id: page
    property StoreNavigation navigation
    readonly property StoreStatus status: StoreData.status
    maxWidth: 900

    Row {
        width: parent.width
        spacing: 12
        Headline {
            width: parent.width - check.width - (updateAll.visible ? updateAll.width + parent.spacing : 0) - parent.spacing
            title: qsTr("Updates")
            second: page.status.updatesLine
            lead: page.status.checkedLine
            warning: page.status.checkProblemLine
            storeScale: page.storeScale
        }
        StoreButton {
            id: check
            objectName: "checkAgain"
            y: 8
            kind: "icon"
            symbol: "arrow.clockwise"
            enabled: page.status.canCheckAgain
            Accessible.name: qsTr("Check Again")
            ToolTip.text: qsTr("Check Again")
            ToolTip.visible: hovered
            onClicked: page.status.reload()
        }
        StoreButton {
            id: updateAll
            objectName: "updateAll"
            y: 8
            visible: page.status.canUpdateAll
            kind: "primary"
            text: qsTr("Update All")
            onClicked: page.status.updateAll()
        }
    }
    RowList {
        visible: page.status.updateCount > 0
        scope: AppFilterModel.Scope.Updates
        showUpdate: true
        navigation: page.navigation
    }
    EmptyState {
        visible: page.status.updateCount === 0
        symbol: "checkmark"
        title: qsTr("All installed apps are up to date.")
    }
}
