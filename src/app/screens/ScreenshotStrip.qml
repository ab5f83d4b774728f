import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Screens

// The app's screenshots in a row that scrolls sideways; each opens the viewer.
ListView {
    id: strip
    property var urls: []
    property real storeScale: 1
    signal open(int index)
    width: parent ? parent.width : 0
    height: 280 * storeScale
    orientation: ListView.Horizontal
    spacing: 16 * storeScale
    // The shots may pass the page's edges while they scroll.
    clip: false
    boundsBehavior: Flickable.StopAtBounds
    model: urls
    delegate: T.AbstractButton {
        id: button
        required property url modelData
        required property int index
        objectName: "shot-" + index
        height: strip.height
        width: height * shot.aspect
        focusPolicy: Qt.StrongFocus
        Accessible.name: qsTr("Screenshot %1 of %2").arg(index + 1).arg(strip.count)
        ToolTip.text: qsTr("Enlarge")
        ToolTip.visible: hovered
        hoverEnabled: true
        onClicked: strip.open(index)
        contentItem: Screenshot {
            id: shot
            url: button.modelData
        }
        background: null
        Rectangle {
            anchors.fill: parent
            radius: 20
            color: "transparent"
            border.color: button.visualFocus ? Store.accent : Store.panelEdge
            border.width: button.visualFocus ? 2 : 1
        }
    }
}
