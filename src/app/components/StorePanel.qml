import QtQuick
import TesselStore.Theme

// A panel surface: a rounded fill with a 1-point edge drawn inside it; no shadow. The edge
// is drawn over the content but takes no clicks (it is no input item).
Item {
    id: panel
    property real radius: 20
    property color fill: Store.panel
    default property alias content: holder.data
    implicitWidth: holder.childrenRect.width
    implicitHeight: holder.childrenRect.height
    Rectangle {
        anchors.fill: parent
        radius: panel.radius
        color: panel.fill
    }
    Item {
        id: holder
        anchors.fill: parent
    }
    Rectangle {
        anchors.fill: parent
        radius: panel.radius
        color: "transparent"
        border.color: Store.panelEdge
        border.width: 1
    }
}
