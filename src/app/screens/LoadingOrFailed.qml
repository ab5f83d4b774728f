import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// What a screen shows while no apps are known: a spinner while loading, or why not and a
// way to try again.
Item {
    id: loading
    readonly property bool failed: StoreData.status.loadState === StoreModel.LoadState.Failed
    Column {
        anchors.centerIn: parent
        spacing: 16
        ProgressRing {
            visible: !loading.failed
            anchors.horizontalCenter: parent.horizontalCenter
            width: 32
            height: 32
        }
        Rectangle {
            visible: loading.failed
            anchors.horizontalCenter: parent.horizontalCenter
            width: 56
            height: 56
            radius: 28
            color: Store.accentSoft
            Symbol {
                anchors.centerIn: parent
                name: "wifi.slash"
                size: 22
                color: Store.accent
            }
        }
        StoreText {
            visible: loading.failed
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("The Store could not load the apps.")
            size: 16
            font.weight: Font.Bold
        }
        StoreButton {
            visible: loading.failed
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Try Again")
            onClicked: StoreData.status.reload()
        }
    }
}
