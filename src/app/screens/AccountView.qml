import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens
import TesselStore.Updater
import TesselStore.Window

// Account: the window's appearance and the store's own settings.
Page {
    id: page
    maxWidth: 1000
    Component.onCompleted: StartAtLogin.refresh()

    PanelGroup {
        caption: qsTr("Appearance")
        PanelRow {
            title: qsTr("Theme")
            detail: qsTr("Automatic follows the system.")
            StoreSegmented {
                objectName: "appearance"
                options: [
                    { value: "system", title: qsTr("Automatic") },
                    { value: "light", title: qsTr("Light") },
                    { value: "dark", title: qsTr("Dark") }
                ]
                selection: AppearanceSetting.appearance
                onSelected: value => AppearanceSetting.appearance = value
            }
        }
    }
    PanelGroup {
        objectName: "storeSettings"
        caption: "Tessel Store"
        PanelRow {
            objectName: "version"
            title: qsTr("Version %1").arg(StoreData.version)
            detail: AppUpdater.configured ? qsTr("The Store checks for a new version of itself once a day.") : ""
            StoreButton {
                objectName: "checkNow"
                visible: AppUpdater.configured
                kind: "secondary"
                compact: true
                text: qsTr("Check Now")
                enabled: AppUpdater.canCheck
                onClicked: AppUpdater.checkForUpdates()
            }
        }
        PanelDivider {
            visible: AppUpdater.configured
            inset: 16
        }
        PanelRow {
            objectName: "automaticChecks"
            visible: AppUpdater.configured
            title: qsTr("Check for updates automatically")
            Switch {
                objectName: "automaticChecksSwitch"
                text: qsTr("Check for updates automatically")
                checked: AppUpdater.automaticallyChecks
                onToggled: AppUpdater.automaticallyChecks = checked
            }
        }
        PanelDivider {
            visible: StartAtLogin.available
        }
        PanelRow {
            visible: StartAtLogin.available
            title: qsTr("Open at login")
            detail: qsTr("The Store starts with your session and waits in the tray.")
            Switch {
                id: openAtLogin
                objectName: "openAtLogin"
                text: qsTr("Open at login")
                checked: StartAtLogin.openAtLogin
                // The switch shows the entry as it is after the change, not the flip itself.
                onToggled: {
                    StartAtLogin.setOpenAtLogin(checked);
                    checked = Qt.binding(() => StartAtLogin.openAtLogin);
                }
            }
        }
    }
}
