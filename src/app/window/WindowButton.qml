import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components

// One of the window's own buttons: a small circle whose symbol shows while the pointer is on
// the group or the button has focus.
T.Button {
    id: control
    property string symbol
    implicitWidth: 14
    implicitHeight: 14
    focusPolicy: Qt.TabFocus
    background: Rectangle {
        radius: width / 2
        color: control.pressed ? Store.dim : control.hovered || control.visualFocus ? Store.faint : Store.panelEdge
        border.color: control.visualFocus ? Store.accent : Store.panelEdge
        border.width: control.visualFocus ? 1.5 : 1
    }
    contentItem: Symbol {
        name: control.symbol
        size: 10
        color: Store.onAccent
        visible: control.hovered || control.visualFocus
    }
}
