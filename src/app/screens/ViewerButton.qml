import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components

// A round button over the dark scrim of the screenshot viewer.
T.AbstractButton {
    id: button
    property string symbol
    implicitWidth: 40
    implicitHeight: 40
    focusPolicy: Qt.NoFocus
    contentItem: Symbol {
        name: button.symbol
        size: 14
        color: "white"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: 20
        color: Qt.rgba(1, 1, 1, button.pressed ? 0.25 : 0.14)
        border.color: Qt.rgba(1, 1, 1, 0.2)
        border.width: 1
    }
}
