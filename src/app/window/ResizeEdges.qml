import QtQuick

// Grips along the frameless window's edges and corners that hand resizing to the window
// system.
Item {
    id: edges
    property var band
    readonly property real grip: 6
    anchors.fill: parent
    Repeater {
        model: [
            { edges: Qt.LeftEdge, x: 0, y: 1, w: 0, h: 1, cursor: Qt.SizeHorCursor },
            { edges: Qt.RightEdge, x: 2, y: 1, w: 0, h: 1, cursor: Qt.SizeHorCursor },
            { edges: Qt.TopEdge, x: 1, y: 0, w: 1, h: 0, cursor: Qt.SizeVerCursor },
            { edges: Qt.BottomEdge, x: 1, y: 2, w: 1, h: 0, cursor: Qt.SizeVerCursor },
            { edges: Qt.TopEdge | Qt.LeftEdge, x: 0, y: 0, w: 0, h: 0, cursor: Qt.SizeFDiagCursor },
            { edges: Qt.TopEdge | Qt.RightEdge, x: 2, y: 0, w: 0, h: 0, cursor: Qt.SizeBDiagCursor },
            { edges: Qt.BottomEdge | Qt.LeftEdge, x: 0, y: 2, w: 0, h: 0, cursor: Qt.SizeBDiagCursor },
            { edges: Qt.BottomEdge | Qt.RightEdge, x: 2, y: 2, w: 0, h: 0, cursor: Qt.SizeFDiagCursor }
        ]
        delegate: MouseArea {
            required property var modelData
            // Column and row 0 is the leading grip, 1 the length between, 2 the trailing grip.
            x: modelData.x === 0 ? 0 : modelData.x === 1 ? edges.grip : edges.width - edges.grip
            y: modelData.y === 0 ? 0 : modelData.y === 1 ? edges.grip : edges.height - edges.grip
            width: modelData.w === 1 ? edges.width - 2 * edges.grip : edges.grip
            height: modelData.h === 1 ? edges.height - 2 * edges.grip : edges.grip
            cursorShape: modelData.cursor
            onPressed: edges.band.startResize(modelData.edges)
        }
    }
}
