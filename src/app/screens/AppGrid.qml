import QtQuick
import TesselStore.Theme
import TesselStore.Screens

// The adaptive grid of app cards: as many columns as fit between 248 and 420 points (times
// the scale), 24 apart, the cells centred. A card is built while its cell is on screen or
// within a screen of it (or holds the focus), so that a long catalog costs what is near.
Item {
    id: grid
    property real storeScale: 1
    property StoreNavigation navigation
    property alias model: cards.model
    readonly property int columns: Theme.gridColumns(width, storeScale)
    readonly property real cellWidth: Theme.gridCellWidth(width, storeScale)
    readonly property real gap: 24 * storeScale
    // The part on screen, in the coordinates of the grid's parent.
    property real visibleTop: 0
    property real visibleHeight: 0
    // Every card is as tall as the others: the first one built tells the cells without one.
    property real cardHeight: 200 * storeScale
    function takeCardHeight(height) {
        if (height > 0)
            cardHeight = height;
    }
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
            delegate: FocusScope {
                id: cell
                required property string productID
                readonly property real place: grid.y + y // its top, in the grid parent's coordinates
                width: grid.cellWidth
                height: card.item ? card.item.implicitHeight : grid.cardHeight
                Loader {
                    id: card
                    width: parent.width
                    // By the cards' height, not the cell's: that follows the card this builds.
                    active: cell.activeFocus || (cell.place + grid.cardHeight > grid.visibleTop - grid.visibleHeight
                                                 && cell.place < grid.visibleTop + 2 * grid.visibleHeight)
                    sourceComponent: AppCard {
                        productID: cell.productID
                        storeScale: grid.storeScale
                        onOpened: grid.navigation.openApp(productID)
                        // Later, not while the cell decides whether to build it.
                        onImplicitHeightChanged: Qt.callLater(grid.takeCardHeight, implicitHeight)
                        Component.onCompleted: Qt.callLater(grid.takeCardHeight, implicitHeight)
                    }
                }
            }
        }
    }
}
