import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

T.MenuSeparator {
    implicitWidth: 200
    implicitHeight: 9
    contentItem: Rectangle {
        implicitHeight: 1
        color: Store.line
    }
}
