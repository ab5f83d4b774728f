import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// The one button that does the right thing for an app now: Get, Update, Open or Try Again,
// or the install's progress while it runs.
Item {
    id: action
    property AppItem item
    property bool compact: false
    readonly property bool installing: item && item.action === AppState.Action.Installing
    implicitWidth: installing ? progressRow.implicitWidth : button.implicitWidth
    implicitHeight: installing ? progressRow.height : button.implicitHeight

    StoreButton {
        id: button
        objectName: "actionButton"
        visible: !action.installing
        kind: action.item && (action.item.action === AppState.Action.Get || action.item.action === AppState.Action.Update)
              ? "primary" : "secondary"
        compact: action.compact
        text: action.item ? action.item.actionTitle : ""
        enabled: action.item && action.item.actionEnabled
        Accessible.description: action.item ? action.item.name : ""
        onClicked: action.item.activate()
    }
    Row {
        id: progressRow
        visible: action.installing
        height: action.compact ? 28 : 36
        spacing: 8
        ProgressRing {
            anchors.verticalCenter: parent.verticalCenter
            determinate: action.item && !action.item.indeterminate
            value: action.item ? action.item.progress : 0
        }
        StoreText {
            anchors.verticalCenter: parent.verticalCenter
            text: action.item ? action.item.actionTitle : ""
            size: 12.5
            font.weight: Font.DemiBold
            color: Store.dim
        }
    }
}
