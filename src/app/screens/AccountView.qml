import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// Account: the window's appearance and the store's own settings.
Page {
    id: page
    maxWidth: 1000

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
        caption: "Tessel Store"
        PanelRow {
            title: qsTr("Version %1").arg(StoreData.version)
        }
    }
}
