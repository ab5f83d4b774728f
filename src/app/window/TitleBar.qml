import QtQuick
import TesselStore.Theme
import TesselStore.Window

// The band at the top of the frameless window: a 40-point strip that moves the window and
// answers a double-click, and the close, minimise and zoom buttons where the layout says.
Item {
    id: bar
    property alias band: titleBand
    height: 50

    TitleBand {
        id: titleBand
        window: bar.Window.window
        rightToLeft: bar.LayoutMirroring.enabled
    }

    MouseArea {
        id: strip
        width: parent.width
        height: 40
        acceptedButtons: Qt.LeftButton
        onPressed: titleBand.startMove()
        onDoubleClicked: titleBand.doubleClicked()
    }

    Repeater {
        id: buttons
        model: [
            { symbol: "window.close", name: qsTr("Close"), act: () => titleBand.close() },
            { symbol: "window.minimize", name: qsTr("Minimize"), act: () => titleBand.minimize() },
            { symbol: "window.zoom", name: qsTr("Zoom"), act: () => titleBand.toggleZoom() }
        ]
        delegate: WindowButton {
            required property var modelData
            required property int index
            readonly property point origin: titleBand.buttonOrigins(bar.width)[index]
            // Window coordinates: the band has already put the group on its side.
            x: origin.x
            y: origin.y
            symbol: modelData.symbol
            Accessible.name: modelData.name
            onClicked: modelData.act()
        }
    }
}
