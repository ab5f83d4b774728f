import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Window
import TesselStore.Screens

// The store's main window: frameless, its own title band, the page colour behind content
// that the screens fill.
ApplicationWindow {
    id: window
    objectName: "main"
    title: qsTr("Tessel Store")
    width: 1180
    height: 760
    minimumWidth: 1100
    minimumHeight: 720
    visible: true
    flags: Qt.Window | Qt.FramelessWindowHint
    color: Store.page
    readonly property real storeScale: Theme.scale(width)
    property alias content: contentArea

    Item {
        id: root
        anchors.fill: parent
        LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
        LayoutMirroring.childrenInherit: true

        RootView {
            id: contentArea
            objectName: "content"
            anchors.fill: parent
            storeScale: window.storeScale
            onMenuRequested: anchor => commandMenu.popup(anchor, 0, anchor.height)
        }
        TitleBar {
            id: titleBar
            objectName: "titleBar"
            anchors.left: parent.left
            anchors.right: parent.right
            band.closeButtonLeading: DesktopChrome.closeButtonLeading
            band.desktopDoubleClick: DesktopChrome.doubleClickAction
        }
        ResizeEdges {
            band: titleBar.band
            visible: window.visibility === Window.Windowed
        }
    }

    CommandMenu {
        id: commandMenu
    }
    AboutPanel {
        id: about
    }
    Connections {
        target: StoreWindow
        function onShowSectionRequested(section) {
            contentArea.navigation.showSection(section);
        }
        function onOpenAppRequested(productID) {
            contentArea.navigation.openApp(productID);
        }
    }
    Connections {
        target: StoreCommands
        function onAboutRequested() {
            about.open();
        }
    }
    Shortcut {
        sequence: "Ctrl+R"
        onActivated: StoreCommands.checkForAppUpdates()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: StoreCommands.quit()
    }
}
