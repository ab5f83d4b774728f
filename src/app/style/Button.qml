import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

// A plain button in the store's colours; the screens use StoreButton's styles.
T.Button {
    id: control
    Accessible.name: text
    implicitWidth: Math.max(implicitBackgroundWidth, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: 36
    leftPadding: 24
    rightPadding: 24
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(13.5)
    font.weight: Font.DemiBold
    opacity: enabled ? 1 : 0.45
    contentItem: Text {
        text: control.text
        font: control.font
        color: Store.ink
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: height / 2
        color: control.hovered ? Store.controlHover : Store.control
        border.color: control.visualFocus ? Store.accent : Store.panelEdge
        border.width: control.visualFocus ? 1.5 : 1
    }
}
