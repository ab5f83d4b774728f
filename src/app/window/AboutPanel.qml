import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Window

// The store's name, icon and version, over the window.
Popup {
    id: panel
    anchors.centerIn: Overlay.overlay
    modal: true
    padding: 28
    background: StorePanel {
        radius: 20
    }
    contentItem: Column {
        spacing: 12
        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            source: StoreResources.appIcon
            visible: source.toString().length > 0
            width: 96
            height: 96
            sourceSize: Qt.size(192, 192)
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Tessel Store")
            color: Store.ink
            font.family: Theme.fontFamily
            font.weight: Font.Bold
            font.pointSize: Theme.pt(18)
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Version %1").arg(StoreCommands.version)
            color: Store.dim
            font.family: Theme.fontFamily
            font.pointSize: Theme.pt(12)
        }
        StoreButton {
            anchors.horizontalCenter: parent.horizontalCenter
            kind: "secondary"
            compact: true
            text: qsTr("Close")
            onClicked: panel.close()
        }
    }
}
