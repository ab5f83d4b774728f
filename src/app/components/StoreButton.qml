import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

// The store's buttons: "primary" (accent capsule), "secondary" (bordered capsule), "quiet"
// (text only) and "icon" (a 36-point circle around a symbol), compact or regular.
T.Button {
    id: control
    property string kind: "secondary"
    property bool compact: false
    property string symbol
    readonly property bool capsule: kind === "primary" || kind === "secondary"
    readonly property real pressScale: kind === "icon" ? 0.94 : kind === "quiet" ? 1 : 0.97

    implicitWidth: kind === "icon" ? 36 : contentItem.implicitWidth + leftPadding + rightPadding
    implicitHeight: kind === "icon" ? 36 : capsule ? (compact ? 28 : 36) : contentItem.implicitHeight
    leftPadding: capsule ? (compact ? 16 : 24) : 0
    rightPadding: leftPadding
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(compact ? 12.5 : 13.5)
    font.weight: Font.DemiBold
    focusPolicy: Qt.StrongFocus
    Accessible.name: text.length ? text : symbol
    // Space presses a button everywhere; Return does too in the store's forms and panels.
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    // The quiet and icon kinds ignore the disabled state in their drawing.
    opacity: (capsule && !enabled ? 0.45 : 1) * (kind === "quiet" && pressed ? 0.6 : 1)
    scale: pressed ? pressScale : 1
    Behavior on scale {
        StoreSpring {
            response: 0.15
        }
    }

    contentItem: Item {
        implicitWidth: control.kind === "icon" ? 36 : row.implicitWidth
        implicitHeight: row.implicitHeight
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 6
            Symbol {
                name: control.symbol
                visible: control.symbol.length > 0
                size: control.kind === "icon" ? 16 : (control.compact ? 12.5 : 13.5)
                color: label.color
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                id: label
                text: control.text
                visible: text.length > 0
                font: control.font
                color: control.kind === "primary" ? Store.onAccent : control.kind === "quiet" ? Store.accent : Store.ink
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    background: Rectangle {
        visible: control.kind !== "quiet"
        radius: height / 2
        color: control.kind === "primary" ? (control.pressed ? Theme.brightness(Store.accent, -0.06) : Store.accent)
                                          : control.hovered ? Store.controlHover : Store.control
        border.width: control.visualFocus ? 2 : control.kind === "primary" ? 0 : 1
        border.color: control.visualFocus ? Store.accent : Store.panelEdge
    }

    // Focus must show on the quiet kind too, which has no background.
    Rectangle {
        visible: control.kind === "quiet" && control.visualFocus
        anchors.fill: parent
        anchors.margins: -4
        radius: 6
        color: "transparent"
        border.color: Store.accent
        border.width: 2
    }
}
