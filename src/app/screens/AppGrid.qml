import QtQuick
import TesselStore.Theme
import TesselStore.Screens

// The adaptive grid of app cards: as many columns as fit between 248 and 420 points (times
// the scale), 24 apart, the cells centred.
Item {
    id: grid
    property real storeScale: 1
    property StoreNavigation navigation
    property alias model: cards.model
    readonly property int columns: Theme.gridColumns(width, storeScale)
    readonly property real cellWidth: Theme.gridCellWidth(width, storeScale)
    readonly property real gap: 24 * storeScale
    width: parent ? parent.width : 0
    implicitHeight: layout.implicitHeight

    Grid {
        id: layout
        // As wide as all its columns, filled or not, so that a short last row starts at the
        // leading edge in either direction.
        width: grid.columns * grid.cellWidth + (grid.columns - 1) * grid.gap
        x: (grid.width - width) / 2
        columns: grid.columns
        columnSpacing: grid.gap
        rowSpacing: grid.gap
        Repeater {
            id: cards
            delegate: AppCard {
                width: grid.cellWidth
                storeScale: grid.storeScale
                onOpened: grid.navigation.openApp(productID)
            }
        }
    }
}
