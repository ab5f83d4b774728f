import QtQuick
import TesselStore.Theme

// Text in the store's font at a size given in design points.
Text {
    property real size: 13
    color: Store.ink
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(size)
    horizontalAlignment: Text.AlignLeft
}
