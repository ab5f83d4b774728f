import QtQuick
import TesselStore.Theme

// A capsule marking an app "installed" or with an "update"; onDark for the night backdrop.
Rectangle {
    id: badge
    property string kind: "installed"
    property bool onDark: false
    readonly property color ink: onDark ? Qt.rgba(1, 1, 1, 0.9) : Qt.rgba(Store.ink.r, Store.ink.g, Store.ink.b, 0.7)
    implicitWidth: row.implicitWidth + 16
    implicitHeight: 22
    width: implicitWidth
    height: 22
    radius: 11
    color: onDark ? Qt.rgba(1, 1, 1, 0.14) : Store.badgeFill
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 4
        Symbol {
            name: "arrow.down"
            visible: badge.kind === "update"
            size: 10
            font.weight: Font.Bold
            color: badge.ink
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            id: label
            objectName: "title"
            text: badge.kind === "update" ? qsTr("Update") : qsTr("Installed", "badge.installed")
            font.family: Theme.fontFamily
            font.pointSize: Theme.pt(11.5)
            font.weight: Font.DemiBold
            color: badge.ink
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
