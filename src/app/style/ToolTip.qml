import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

T.ToolTip {
    id: control
    padding: 6
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(12)
    contentItem: Text {
        text: control.text
        font: control.font
        color: Store.ink
        wrapMode: Text.Wrap
    }
    background: Rectangle {
        radius: 6
        color: Store.panel
        border.color: Store.panelEdge
    }
}
