import QtQuick
import TesselStore.Theme

// A circular progress indicator: the share done when determinate, else a turning arc.
Item {
    id: ring
    property real value: 0
    property bool determinate: false
    property color color: Store.accent
    property real lineWidth: Math.max(2, width / 8)
    implicitWidth: 16
    implicitHeight: 16
    Accessible.role: Accessible.ProgressBar
    Accessible.name: qsTr("Progress")

    Canvas {
        id: canvas
        anchors.fill: parent
        rotation: 0
        onPaint: {
            const context = getContext("2d");
            context.reset();
            const centre = width / 2;
            const radius = centre - ring.lineWidth / 2;
            context.lineWidth = ring.lineWidth;
            context.lineCap = "round";
            context.strokeStyle = Qt.rgba(ring.color.r, ring.color.g, ring.color.b, 0.2);
            context.beginPath();
            context.arc(centre, centre, radius, 0, 2 * Math.PI);
            context.stroke();
            context.strokeStyle = ring.color;
            context.beginPath();
            const share = ring.determinate ? Math.max(0, Math.min(1, ring.value)) : 0.28;
            context.arc(centre, centre, radius, -Math.PI / 2, -Math.PI / 2 + share * 2 * Math.PI);
            context.stroke();
        }
        RotationAnimator on rotation {
            running: !ring.determinate && ring.visible
            from: 0
            to: 360
            duration: 900
            loops: Animation.Infinite
        }
    }
    onValueChanged: canvas.requestPaint()
    onDeterminateChanged: {
        canvas.rotation = 0;
        canvas.requestPaint();
    }
    onColorChanged: canvas.requestPaint()
}
