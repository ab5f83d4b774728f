import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// The screenshots one at a time over a dark scrim: arrows and the arrow keys move between
// them, Escape, the close button and a click on the scrim close it.
Item {
    id: viewer
    property ScreenshotViewerState state
    property var urls: []

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.78)
        MouseArea {
            anchors.fill: parent
            onClicked: viewer.state.close()
        }
    }
    // A new shot for each index, so that moving on cross-fades rather than changing in place.
    Repeater {
        model: viewer.urls
        delegate: Screenshot {
            required property url modelData
            required property int index
            anchors.fill: parent
            anchors.leftMargin: 88
            anchors.rightMargin: 88
            anchors.topMargin: 56
            anchors.bottomMargin: 56
            url: modelData
            opacity: index === viewer.state.index ? 1 : 0
            visible: opacity > 0
            Behavior on opacity {
                NumberAnimation {
                    duration: 200
                    easing.type: Easing.OutQuad
                }
            }
        }
    }
    ViewerButton {
        objectName: "previous"
        anchors.left: parent.left
        anchors.leftMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        symbol: "chevron.left"
        enabled: viewer.state.canGoBack
        opacity: enabled ? 1 : 0
        Accessible.name: qsTr("Previous")
        onClicked: viewer.state.previous()
    }
    ViewerButton {
        objectName: "next"
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        symbol: "chevron.right"
        enabled: viewer.state.canGoForward
        opacity: enabled ? 1 : 0
        Accessible.name: qsTr("Next")
        onClicked: viewer.state.next()
    }
    ViewerButton {
        objectName: "close"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 24
        symbol: "xmark"
        Accessible.name: qsTr("Close")
        ToolTip.text: qsTr("Close")
        ToolTip.visible: hovered
        onClicked: viewer.state.close()
    }
    StoreText {
        objectName: "counter"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 24
        text: viewer.state.counterText
        size: 12
        font.weight: Font.DemiBold
        color: Qt.rgba(1, 1, 1, 0.7)
    }
    // The keys keep their meaning in right-to-left layouts: left is the previous shot.
    Shortcut {
        sequence: "Left"
        enabled: viewer.visible && viewer.state.canGoBack
        onActivated: viewer.state.previous()
    }
    Shortcut {
        sequence: "Right"
        enabled: viewer.visible && viewer.state.canGoForward
        onActivated: viewer.state.next()
    }
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: viewer.visible
        onActivated: viewer.state.close()
    }
}
