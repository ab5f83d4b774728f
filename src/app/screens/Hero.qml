import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// One app in the carousel: its name, its tagline large, its button, and its icon; the
// whole band opens the app's page.
T.AbstractButton {
    id: hero
    required property string productID
    property real storeScale: 1
    signal opened
    readonly property real typeScale: Theme.titleScale(storeScale)
    padding: 32 * storeScale
    implicitHeight: Math.max(248 * storeScale, content.implicitHeight + topPadding + bottomPadding)
    focusPolicy: Qt.StrongFocus
    Accessible.name: app.name
    Accessible.description: app.tagline
    onClicked: opened()

    AppItem {
        id: app
        model: StoreData.model
        productID: hero.productID
    }
    background: Rectangle {
        color: "transparent"
        radius: 32
        border.color: Store.accent
        border.width: hero.visualFocus ? 2 : 0
    }
    contentItem: Item {
        id: content
        implicitHeight: Math.max(text.implicitHeight, icon.height)
        Column {
            id: text
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(480 * hero.storeScale, parent.width - icon.width - 24 * hero.storeScale - 32 * hero.storeScale)
            spacing: 12 * hero.storeScale
            StoreText {
                width: parent.width
                text: app.name
                size: 15 * hero.typeScale
                font.weight: Font.DemiBold
                color: Qt.rgba(1, 1, 1, 0.7)
            }
            StoreText {
                width: parent.width
                text: app.tagline
                size: 28 * hero.typeScale
                font.weight: Font.Bold
                font.letterSpacing: -0.3
                color: "white"
                wrapMode: Text.Wrap
            }
            Item {
                width: parent.width
                height: button.implicitHeight + 8
                AppActionButton {
                    id: button
                    anchors.left: parent.left
                    y: 8
                    item: app
                }
            }
        }
        AppIconView {
            id: icon
            anchors.right: parent.right
            anchors.rightMargin: 24 * hero.storeScale
            anchors.verticalCenter: parent.verticalCenter
            item: app
            size: 152 * hero.storeScale
        }
    }
}
