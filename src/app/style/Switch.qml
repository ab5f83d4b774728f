import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

T.Switch {
    id: control
    Accessible.name: text
    implicitWidth: 38
    implicitHeight: 22
    indicator: Rectangle {
        width: 38
        height: 22
        radius: height / 2
        color: control.checked ? Store.accent : Store.well
        border.color: control.visualFocus ? Store.accent : Store.panelEdge
        opacity: control.enabled ? 1 : 0.45
        Rectangle {
            // The knob rests at the end the reading direction starts from.
            x: control.checked !== control.mirrored ? parent.width - width - 2 : 2
            y: 2
            width: 18
            height: 18
            radius: 9
            color: Store.onAccent
            border.color: Store.panelEdge
            Behavior on x {
                SpringAnimation {
                    spring: Theme.spring(0.28, 0.85).x
                    damping: Theme.spring(0.28, 0.85).y
                }
            }
        }
    }
}
