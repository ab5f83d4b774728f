import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// A panel of app rows, one per app of its scope in catalog order, divided past the icons.
PanelGroup {
    id: list
    property alias scope: apps.scope
    property bool showUpdate: false
    property StoreNavigation navigation
    readonly property alias count: apps.count

    Repeater {
        model: AppFilterModel {
            id: apps
            sourceModel: StoreData.apps
        }
        delegate: Column {
            id: entry
            required property int index
            required property string productID
            width: list.width
            PanelDivider {
                visible: entry.index > 0
                inset: 80
            }
            AppRow {
                productID: entry.productID
                showUpdate: list.showUpdate
                first: entry.index === 0 && list.caption.length === 0
                last: entry.index === list.count - 1
                onOpened: list.navigation.openApp(entry.productID)
            }
        }
    }
}
