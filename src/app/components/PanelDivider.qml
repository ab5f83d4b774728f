import QtQuick
import TesselStore.Theme

// A 1-point line between rows, starting inset points in.
Item {
    property real inset: 16
    width: parent ? parent.width : 0
    height: 1
    Rectangle {
        x: parent.LayoutMirroring.enabled ? 0 : parent.inset
        width: parent.width - parent.inset
        height: 1
        color: Store.line
    }
}
