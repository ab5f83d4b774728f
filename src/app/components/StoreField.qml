import QtQuick
import QtQuick.Controls
import TesselStore.Theme

// A capsule text field with an optional symbol; its border turns accent while it has focus.
Item {
    id: field
    property string title
    property alias text: input.text
    property string symbol
    property real fieldWidth: -1
    readonly property bool focused: input.activeFocus
    implicitWidth: fieldWidth >= 0 ? fieldWidth : 220
    width: fieldWidth >= 0 ? fieldWidth : implicitWidth
    implicitHeight: 36
    height: 36
    Accessible.role: Accessible.EditableText
    Accessible.name: title

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Store.control
    }
    Row {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 8
        Symbol {
            id: glyph
            name: field.symbol
            visible: field.symbol.length > 0
            size: 14
            color: Store.faint
            anchors.verticalCenter: parent.verticalCenter
        }
        TextField {
            id: input
            width: parent.width - (glyph.visible ? glyph.width + parent.spacing : 0)
            height: parent.height
            placeholderText: field.title
            Accessible.name: field.title
        }
    }
    Rectangle {
        id: edge
        anchors.fill: parent
        radius: height / 2
        color: "transparent"
        border.color: field.focused ? Qt.rgba(Store.accent.r, Store.accent.g, Store.accent.b, 0.7) : Store.panelEdge
        border.width: field.focused ? 1.5 : 1
        Behavior on border.width {
            StoreSpring {
                response: 0.15
            }
        }
    }
    function forceInputFocus() {
        input.forceActiveFocus();
    }
}
