import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

T.ScrollBar {
    id: control
    implicitWidth: 10
    implicitHeight: 10
    padding: 2
    visible: control.policy !== T.ScrollBar.AlwaysOff && control.size < 1
    minimumSize: orientation === Qt.Horizontal ? height / width : width / height
    contentItem: Rectangle {
        implicitWidth: 6
        implicitHeight: 6
        radius: width / 2
        color: Store.faint
        opacity: control.policy === T.ScrollBar.AlwaysOn || control.active ? 1 : 0.5
    }
}
