import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Images

// One screenshot with rounded corners: a 16:9 well while it loads (with a spinner) or when
// it could not be loaded (plain).
Item {
    id: shot
    property url url
    property real radius: 20
    readonly property bool ready: image.status === CachedImage.Ready
    // Width over height: the picture's once it is there, 16:9 until then.
    readonly property real aspect: ready && image.imageSize.height > 0
                                   ? image.imageSize.width / image.imageSize.height : 16 / 9

    CachedImage {
        id: image
        anchors.fill: parent
        source: shot.url
        maxPixels: 1600
        radius: shot.radius
    }
    Rectangle {
        visible: !shot.ready
        anchors.centerIn: parent
        width: Math.min(parent.width, parent.height * 16 / 9)
        height: width * 9 / 16
        radius: shot.radius
        color: Store.well
        ProgressRing {
            anchors.centerIn: parent
            visible: image.status === CachedImage.Loading
        }
    }
}
