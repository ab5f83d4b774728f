import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// An app's tile in the Explore grid: icon, badge, name, tagline and its action button. The
// whole card opens the app's page, except the button, which acts on its own; it rises a
// little while the pointer is over it.
T.AbstractButton {
    id: card
    required property string productID
    objectName: "card-" + productID
    property real storeScale: 1
    signal opened
    readonly property real typeScale: Theme.titleScale(storeScale)
    readonly property real padding16: 16 * storeScale
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    padding: padding16
    implicitHeight: content.implicitHeight + topPadding + bottomPadding
    text: appItem.name
    Accessible.name: appItem.name
    Accessible.description: appItem.tagline
    onClicked: opened()

    AppItem {
        id: appItem
        model: StoreData.model
        productID: card.productID
    }

    transform: Translate {
        y: card.hovered ? -2 : 0
        Behavior on y {
            StoreSpring {
                response: 0.2
            }
        }
    }
    background: StorePanel {
        radius: 18
        Rectangle {
            anchors.fill: parent
            visible: card.visualFocus
            radius: 18
            color: "transparent"
            border.color: Store.accent
            border.width: 2
        }
    }
    contentItem: Column {
        id: content
        Item {
            width: parent.width
            height: icon.height
            AppIconView {
                id: icon
                anchors.left: parent.left
                item: appItem
                size: 64 * card.storeScale
            }
            Badge {
                anchors.right: parent.right
                visible: appItem.badge !== AppState.Badge.None
                kind: appItem.badge === AppState.Badge.Update ? "update" : "installed"
            }
        }
        StoreText {
            width: parent.width
            topPadding: card.padding16
            text: appItem.name
            size: 16 * card.typeScale
            font.weight: Font.Bold
            elide: Text.ElideRight
        }
        StoreText {
            id: tagline
            width: parent.width
            topPadding: 4
            text: appItem.tagline
            size: 12.5 * card.typeScale
            color: Store.dim
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            // Two lines always, so that cards in a row stay as tall as each other.
            height: topPadding + 2 * fontMetrics.lineSpacing
            FontMetrics {
                id: fontMetrics
                font: tagline.font
            }
        }
        Item {
            width: parent.width
            height: card.padding16
        }
        Item {
            width: parent.width
            height: cardButton.implicitHeight
            AppActionButton {
                id: cardButton
                anchors.left: parent.left
                item: appItem
                compact: true
            }
        }
    }
}
