import QtQuick
import TesselStore.Theme

// Rows on a panel of radius 20, with an optional caption above the first.
StorePanel {
    id: group
    property string caption
    default property alias rows: column.data
    width: parent ? parent.width : implicitWidth
    implicitHeight: captionText.height + column.implicitHeight
    radius: 20
    Text {
        id: captionText
        visible: group.caption.length > 0
        height: visible ? implicitHeight + 16 : 0
        anchors.left: parent.left
        anchors.leftMargin: 16
        y: 12
        text: group.caption
        color: Store.dim
        font.family: Theme.fontFamily
        font.pointSize: Theme.pt(12)
        font.weight: Font.DemiBold
    }
    Column {
        id: column
        y: captionText.height
        width: group.width
    }
}
