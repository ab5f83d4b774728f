import QtQuick
import QtQuick.Controls
import TesselStore.Window

// The application's commands; the sidebar's header opens this menu.
Menu {
    MenuItem {
        text: qsTr("About Tessel Store")
        onTriggered: StoreCommands.about()
    }
    MenuSeparator {}
    MenuItem {
        text: qsTr("Check for Updates…")
        enabled: StoreCommands.canCheckForUpdates
        onTriggered: StoreCommands.checkForUpdates()
    }
    MenuItem {
        text: qsTr("Check for App Updates")
        onTriggered: StoreCommands.checkForAppUpdates()
    }
}
