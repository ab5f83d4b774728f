import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// The dark band that presents one app at a time, moving on every few seconds unless the
// pointer rests on it, with a pager when there is more than one app.
Item {
    id: carousel
    objectName: "carousel"
    property real storeScale: 1
    property StoreNavigation navigation
    // The app shown before the current one, which leaves towards the leading side.
    property int previous: -1
    property int last: 0
    width: parent ? parent.width : 0
    implicitHeight: heroes.implicitHeight
    // Heroes slide by 32 points; their padding keeps them off the rounded corners.
    clip: true

    HeroCarouselState {
        id: carouselState
        count: StoreData.apps.count
        onIndexChanged: {
            carousel.previous = carousel.last;
            carousel.last = index;
        }
    }
    Timer {
        interval: carouselState.interval
        running: carousel.visible && carouselState.count > 1
        repeat: true
        onTriggered: carouselState.advance()
    }
    HoverHandler {
        onHoveredChanged: carouselState.hovering = hovered
    }

    NightArt {
        anchors.fill: parent
        radius: 32
    }
    Item {
        id: heroes
        width: parent.width
        // The tallest hero built at this scale: the band keeps its height as the heroes change.
        property real tallest: 0
        property real tallestAtScale: 0
        function measure(height) {
            if (tallestAtScale !== carousel.storeScale) {
                tallest = 0;
                tallestAtScale = carousel.storeScale;
            }
            tallest = Math.max(tallest, height);
        }
        implicitHeight: tallest
        height: parent.height
        Repeater {
            model: StoreData.apps
            // Only the current hero and the one leaving are built: a catalog may hold hundreds.
            delegate: Loader {
                id: slot
                required property int index
                required property string productID
                readonly property bool current: index === carouselState.index
                active: current || index === carousel.previous
                onImplicitHeightChanged: heroes.measure(implicitHeight)
                // Coming in from the trailing side, going out to the leading side; in place
                // without movement when the desktop asks for little motion.
                readonly property real shift: StoreData.reduceMotion || current ? 0
                                              : (index === carousel.previous ? -32 : 32)
                width: heroes.width
                height: heroes.height
                opacity: current ? 1 : 0
                visible: opacity > 0
                enabled: current
                x: (carousel.LayoutMirroring.enabled ? -shift : shift)
                sourceComponent: Hero {
                    productID: slot.productID
                    storeScale: carousel.storeScale
                    onOpened: carousel.navigation.openApp(productID)
                }
                Behavior on opacity {
                    NumberAnimation {
                        duration: 500
                        easing.type: Easing.InOutQuad
                    }
                }
                Behavior on x {
                    enabled: !StoreData.reduceMotion
                    NumberAnimation {
                        duration: 500
                        easing.type: Easing.InOutQuad
                    }
                }
            }
        }
    }
    Row {
        id: pager
        visible: carouselState.showsPager
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: 32 * carousel.storeScale
        anchors.bottomMargin: 24 * carousel.storeScale
        spacing: 8
        Repeater {
            model: StoreData.apps
            delegate: MouseArea {
                required property int index
                required property string name
                readonly property bool current: index === carouselState.index
                width: dot.width
                height: 20
                cursorShape: Qt.PointingHandCursor
                Accessible.role: Accessible.Button
                Accessible.name: name
                onClicked: carouselState.select(index)
                Rectangle {
                    id: dot
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.current ? 24 : 12
                    height: 4
                    radius: 2
                    color: Qt.rgba(1, 1, 1, parent.current ? 0.95 : 0.35)
                    Behavior on width {
                        NumberAnimation {
                            duration: 500
                            easing.type: Easing.InOutQuad
                        }
                    }
                }
            }
        }
    }
    // The band's edge: a faint white line inside its rounded outline.
    Rectangle {
        anchors.fill: parent
        radius: 32
        color: "transparent"
        border.color: Qt.rgba(1, 1, 1, 0.08)
        border.width: 1
    }
}
