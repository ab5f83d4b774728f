import QtQuick
import TesselStore.Theme
import TesselStore.Components

// A framed symbol and sentence where a list has nothing to show.
StorePanel {
    id: empty
    property string symbol
    property string title
    width: parent ? parent.width : implicitWidth
    implicitHeight: column.implicitHeight + 96
    radius: 20
    Column {
        id: column
        anchors.centerIn: parent
        spacing: 12
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 52
            height: 52
            radius: 26
            color: Store.accentSoft
            Symbol {
                anchors.centerIn: parent
                name: empty.symbol
                size: 20
                color: Store.accent
            }
        }
        StoreText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: empty.title
            size: 14
            font.weight: Font.DemiBold
            color: Store.dim
        }
    }
}
