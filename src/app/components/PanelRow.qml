import QtQuick
import TesselStore.Theme

// A row of a panel: a title with an optional detail below it, and a control at its end.
Item {
    id: row
    property string title
    property string detail
    default property alias trailing: end.data
    width: parent ? parent.width : implicitWidth
    implicitHeight: Math.max(texts.implicitHeight, end.implicitHeight) + 24
    Column {
        id: texts
        anchors.left: parent.left
        anchors.right: end.left
        anchors.leftMargin: 16
        anchors.rightMargin: end.width > 0 ? 16 : 0
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignLeft
            text: row.title
            color: Store.ink
            font.family: Theme.fontFamily
            font.pointSize: Theme.pt(13.5)
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignLeft
            visible: row.detail.length > 0
            text: row.detail
            color: Store.dim
            font.family: Theme.fontFamily
            font.pointSize: Theme.pt(12)
            wrapMode: Text.Wrap
        }
    }
    Row {
        id: end
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.verticalCenter: parent.verticalCenter
    }
}
