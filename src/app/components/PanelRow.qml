import QtQuick
import QtQuick.Layouts
import TesselStore.Theme

// A row of a panel: a title with an optional detail below it, and a control at its end.
Item {
    id: row
    property string title
    property string detail
    default property alias trailing: end.data
    width: parent ? parent.width : implicitWidth
    implicitHeight: layout.implicitHeight + 24
    RowLayout {
        id: layout
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 12
        anchors.bottomMargin: 12
        spacing: 16
        Column {
            Layout.fillWidth: true
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
        }
    }
}
