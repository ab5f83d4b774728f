import QtQuick
import TesselStore.Theme

// A segmented control: one accent thumb slides under the selected segment. options is a list
// of { value, title }; selection is the caller's, written only when the choice changes.
Item {
    id: control
    property var options: []
    property var selection
    property bool fills: false
    property var hovered: undefined
    signal selected(var value)

    implicitWidth: row.implicitWidth + 8
    implicitHeight: row.implicitHeight + 8
    width: fills && parent ? parent.width : implicitWidth
    height: implicitHeight

    function choose(value) {
        if (value === selection)
            return;
        selected(value);
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Store.well
        border.color: Store.panelEdge
    }
    Rectangle {
        id: thumb
        readonly property Item target: repeater.count > 0 ? control.selectedItem() : null
        x: target ? row.x + target.x : 0
        y: row.y
        width: target ? target.width : 0
        height: row.height
        radius: height / 2
        color: Store.accent
        visible: target !== null
        Behavior on x {
            StoreSpring {
                response: 0.28
            }
        }
        Behavior on width {
            StoreSpring {
                response: 0.28
            }
        }
    }
    function selectedItem() {
        for (let index = 0; index < repeater.count; ++index) {
            const item = repeater.itemAt(index);
            if (item && item.value === selection)
                return item;
        }
        return null;
    }
    Row {
        id: row
        x: 4
        y: 4
        spacing: 2
        Repeater {
            id: repeater
            model: control.options
            delegate: Item {
                id: segment
                objectName: "segment-" + modelData.value
                required property var modelData
                readonly property var value: modelData.value
                readonly property bool isSelected: value === control.selection
                implicitWidth: label.implicitWidth + 32
                width: control.fills ? (control.width - 8 - (repeater.count - 1) * 2) / repeater.count : implicitWidth
                height: Math.max(28, label.implicitHeight)
                activeFocusOnTab: true
                Accessible.role: Accessible.PageTab
                Accessible.name: modelData.title
                Accessible.selected: isSelected
                Accessible.onPressAction: control.choose(value)
                Keys.onSpacePressed: control.choose(value)
                Keys.onReturnPressed: control.choose(value)
                Text {
                    id: label
                    anchors.centerIn: parent
                    text: segment.modelData.title
                    font.family: Theme.fontFamily
                    font.pointSize: Theme.pt(12.5)
                    font.weight: Font.DemiBold
                    color: segment.isSelected ? Store.onAccent : control.hovered === segment.value ? Store.ink : Store.dim
                }
                Rectangle {
                    anchors.fill: parent
                    radius: height / 2
                    color: "transparent"
                    border.color: Store.accent
                    border.width: 2
                    visible: segment.activeFocus
                }
                HoverHandler {
                    onHoveredChanged: {
                        if (hovered)
                            control.hovered = segment.value;
                        else if (control.hovered === segment.value)
                            control.hovered = undefined;
                    }
                }
                TapHandler {
                    onTapped: control.choose(segment.value)
                }
            }
        }
    }
}
