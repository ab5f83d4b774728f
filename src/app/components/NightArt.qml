import QtQuick
import TesselStore.Theme

// The dark backdrop behind banners: the banner ink with a violet glow from the top edge.
// Drawn with a plain gradient, no shader, so that offscreen rendering shows it too.
Item {
    id: art
    property real radius: 0
    Rectangle {
        anchors.fill: parent
        radius: art.radius
        color: Store.bannerInk
    }
    Canvas {
        id: glow
        anchors.fill: parent
        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()
        onPaint: {
            const context = getContext("2d");
            context.reset();
            context.roundedRect(0, 0, width, height, art.radius, art.radius);
            context.clip();
            const radius = Math.max(width, height);
            const gradient = context.createRadialGradient(width / 2, 0, 0, width / 2, 0, radius * 0.7);
            const base = Store.bannerGlow;
            gradient.addColorStop(0, Qt.rgba(base.r, base.g, base.b, 1));
            gradient.addColorStop(1, Qt.rgba(base.r, base.g, base.b, 0));
            context.fillStyle = gradient;
            context.fillRect(0, 0, width, height);
        }
    }
}
