import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// One app in a list: icon, name, a line of detail and a failure when there is one; the row
// opens the app's page, its button acts on its own.
Item {
    id: row
    property string productID
    property bool showUpdate: false
    // At the panel's rounded ends the highlight follows the corners.
    property bool first: false
    property bool last: false
    signal opened
    width: parent ? parent.width : 0
    implicitHeight: Math.max(link.implicitHeight, button.implicitHeight) + 24

    AppItem {
        id: app
        model: StoreData.model
        productID: row.productID
    }
    Rectangle {
        anchors.fill: parent
        visible: link.hovered
        radius: row.first || row.last ? 20 : 0
        color: Qt.rgba(Store.well.r, Store.well.g, Store.well.b, 0.5)
    }
    T.AbstractButton {
        id: link
        objectName: "row-" + row.productID
        anchors.left: parent.left
        anchors.right: button.left
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.verticalCenter: parent.verticalCenter
        implicitHeight: implicitContentHeight + topPadding + bottomPadding
        hoverEnabled: true
        focusPolicy: Qt.StrongFocus
        Accessible.name: app.name
        Accessible.description: detail.text
        onClicked: row.opened()
        contentItem: Row {
            spacing: 16
            AppIconView {
                anchors.verticalCenter: parent.verticalCenter
                item: app
                size: 48
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 64
                spacing: 4
                StoreText {
                    width: parent.width
                    text: app.name
                    size: 14
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                }
                StoreText {
                    id: detail
                    width: parent.width
                    text: row.showUpdate ? app.updateDetail : app.detail
                    size: 12
                    color: Store.dim
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                StoreText {
                    width: parent.width
                    visible: app.failureMessage.length > 0
                    text: app.failureMessage
                    size: 11.5
                    color: Store.warning
                    wrapMode: Text.Wrap
                }
            }
        }
        background: Rectangle {
            color: "transparent"
            radius: 8
            border.color: Store.accent
            border.width: link.visualFocus ? 2 : 0
        }
    }
    AppActionButton {
        id: button
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.verticalCenter: parent.verticalCenter
        item: app
        compact: true
    }
}
