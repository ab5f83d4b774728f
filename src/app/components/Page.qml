import QtQuick
import QtQuick.Controls
import TesselStore.Theme

// The scrolling frame of a screen: a column of its content, padded, at most maxWidth × scale
// wide and centred in the width there is.
ScrollView {
    id: page
    property real maxWidth: 900
    property real storeScale: 1
    default property alias content: column.data
    readonly property real sidePadding: 32 * storeScale
    readonly property real blockWidth: Math.min(width, maxWidth * storeScale)
    // Where the part on screen begins, in the content column's coordinates: for views in it
    // that build only what is near the screen.
    readonly property real visibleTop: contentItem.contentY - column.y
    contentWidth: width
    contentHeight: column.implicitHeight + 48 + 32 * storeScale
    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    Column {
        id: column
        x: (page.width - page.blockWidth) / 2 + page.sidePadding
        y: 48
        width: page.blockWidth - 2 * page.sidePadding
        spacing: 32 * page.storeScale
    }
}
