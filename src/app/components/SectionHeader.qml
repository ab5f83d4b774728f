import QtQuick
import QtQuick.Layouts
import TesselStore.Theme

// A section's title with an optional control at its trailing end.
RowLayout {
    id: header
    property string title
    default property alias trailing: end.data
    width: parent ? parent.width : implicitWidth
    Text {
        text: header.title
        color: Store.ink
        font.family: Theme.fontFamily
        font.weight: Font.Bold
        font.pointSize: Theme.pt(18)
        Accessible.role: Accessible.Heading
    }
    Item {
        Layout.fillWidth: true
    }
    Row {
        id: end
    }
}
