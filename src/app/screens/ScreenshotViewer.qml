import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// The screenshots one at a time over a dark scrim: arrows and the arrow keys move between
// them, Escape, the close button and a click on the scrim close it.
Item {
    id: viewer
    property ScreenshotViewerState viewerState
    property var urls: []

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.78)
        MouseArea {
            anchors.fill: parent
            onClicked: viewer.viewerState.close()
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
            opacity: index === viewer.viewerState.index ? 1 : 0
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
        enabled: viewer.viewerState.canGoBack
        opacity: enabled ? 1 : 0
        Accessible.name: qsTr("Previous")
        onClicked: viewer.viewerState.previous()
    }
    ViewerButton {
        objectName: "next"
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        symbol: "chevron.right"
        enabled: viewer.viewerState.canGoForward
        opacity: enabled ? 1 : 0
        Accessible.name: qsTr("Next")
        onClicked: viewer.viewerState.next()
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
        onClicked: viewer.viewerState.close()
    }
    StoreText {
        objectName: "counter"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 24
        text: viewer.viewerState.counterText
        size: 12
        font.weight: Font.DemiBold
        color: Qt.rgba(1, 1, 1, 0.7)
    }
    // From the moment it opens, while it still fades in. The keys keep their meaning in
    // right-to-left layouts: left is the previous shot.
    Shortcut {
        sequence: "Left"
        enabled: viewer.viewerState.isOpen && viewer.viewerState.canGoBack
        onActivated: viewer.viewerState.previous()
    }
    Shortcut {
        sequence: "Right"
        enabled: viewer.viewerState.isOpen && viewer.viewerState.canGoForward
        onActivated: viewer.viewerState.next()
    }
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: viewer.viewerState.isOpen
        onActivated: viewer.viewerState.close()
    }
}
