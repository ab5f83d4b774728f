import QtQuick
import TesselStore.Theme

// The dark backdrop behind banners: the banner ink with a violet glow from the top edge.
// Drawn with plain gradients, no shader, so that offscreen rendering shows it too.
Item {
    id: art
    property real radius: 0
    Rectangle {
        anchors.fill: parent
        radius: art.radius
        color: Store.bannerInk
    }
    // The glow, brightest at the top centre: a fade downwards, narrowed by a fade sideways.
    Rectangle {
        anchors.fill: parent
        radius: art.radius
        gradient: Gradient {
            GradientStop {
                position: 0
                color: Qt.rgba(Store.bannerGlow.r, Store.bannerGlow.g, Store.bannerGlow.b, 0.9)
            }
            GradientStop {
                position: 0.7
                color: Qt.rgba(Store.bannerGlow.r, Store.bannerGlow.g, Store.bannerGlow.b, 0)
            }
        }
    }
    Rectangle {
        anchors.fill: parent
        radius: art.radius
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop {
                position: 0
                color: Store.bannerInk
            }
            GradientStop {
                position: 0.5
                color: Qt.rgba(Store.bannerInk.r, Store.bannerInk.g, Store.bannerInk.b, 0)
            }
            GradientStop {
                position: 1
                color: Store.bannerInk
            }
        }
    }
}
