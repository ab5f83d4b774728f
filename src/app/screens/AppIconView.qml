import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Images
import TesselStore.Screens

// An app's icon, size × size: the one the store carries, else the downloaded one, else a
// tinted square with the name's first letter while there is none.
Item {
    id: view
    property AppItem item
    property real size: 64
    readonly property url offline: item ? StoreData.offlineIcon(item.productID) : ""
    width: size
    height: size
    Accessible.ignored: true

    Image {
        anchors.fill: parent
        visible: view.offline.toString().length > 0
        source: view.offline
        sourceSize: Qt.size(Theme.iconPixels(view.size), Theme.iconPixels(view.size))
        fillMode: Image.PreserveAspectFit
        smooth: true
        mipmap: true
    }
    CachedImage {
        id: remote
        anchors.fill: parent
        visible: view.offline.toString().length === 0
        source: visible && view.item ? view.item.iconURL : ""
        maxPixels: Theme.iconPixels(view.size)
    }
    Rectangle {
        visible: remote.visible && remote.status !== CachedImage.Ready
        anchors.fill: parent
        anchors.margins: 0.06 * view.size
        radius: 0.225 * view.size
        gradient: Gradient {
            GradientStop {
                position: 0
                color: Qt.rgba(Store.accentTop.r, Store.accentTop.g, Store.accentTop.b, 0.35)
            }
            GradientStop {
                position: 1
                color: Qt.rgba(Store.accent.r, Store.accent.g, Store.accent.b, 0.18)
            }
        }
        StoreText {
            anchors.centerIn: parent
            text: view.item ? Theme.initial(view.item.name) : ""
            size: 0.42 * view.size
            font.weight: Font.Bold
            color: Store.accent
        }
    }
}
