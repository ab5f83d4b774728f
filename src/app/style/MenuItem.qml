import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

T.MenuItem {
    id: control
    Accessible.name: text
    implicitWidth: Math.max(implicitBackgroundWidth, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: 30
    leftPadding: 12
    rightPadding: 12
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(13)
    opacity: enabled ? 1 : 0.45
    contentItem: Text {
        text: control.text
        font: control.font
        color: Store.ink
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        radius: 8
        color: control.highlighted ? Store.well : "transparent"
    }
}
