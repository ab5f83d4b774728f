import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// An app's page: back to the section, the header with the app's actions, four facts, the
// screenshots (which open the viewer) and the description.
Item {
    id: detail
    required property string productID
    property string back
    property real storeScale: 1
    signal backRequested
    readonly property alias viewer: viewerState

    AppItem {
        id: app
        model: StoreData.model
        productID: detail.productID
    }
    ScreenshotViewerState {
        id: viewerState
        objectName: "viewerState"
        count: app.screenshots.length
    }

    Page {
        anchors.fill: parent
        maxWidth: 1240
        storeScale: detail.storeScale

        Item {
            width: parent.width
            height: backButton.implicitHeight - 24
            StoreButton {
                id: backButton
                objectName: "back"
                // Anchored rather than placed, so that it moves to the right in right-to-left.
                anchors.left: parent.left
                anchors.leftMargin: -6
                y: -24
                kind: "quiet"
                symbol: "chevron.left"
                text: detail.back
                onClicked: detail.backRequested()
            }
        }
        Row {
            width: parent.width
            spacing: 24
            AppIconView {
                anchors.verticalCenter: parent.verticalCenter
                item: app
                size: 128
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 128 - parent.spacing
                StoreText {
                    width: parent.width
                    topPadding: 8
                    text: app.name
                    size: 32
                    font.weight: Font.Bold
                    font.letterSpacing: -0.4
                    wrapMode: Text.Wrap
                    Accessible.role: Accessible.Heading
                }
                StoreText {
                    width: parent.width
                    topPadding: 4
                    text: app.tagline
                    size: 15
                    color: Store.dim
                    wrapMode: Text.Wrap
                }
                Row {
                    anchors.left: parent.left
                    topPadding: 16
                    spacing: 10
                    AppActionButton {
                        anchors.verticalCenter: parent.verticalCenter
                        item: app
                    }
                    StoreButton {
                        anchors.verticalCenter: parent.verticalCenter
                        kind: "icon"
                        symbol: "safari"
                        visible: app.websiteURL.toString().length > 0
                        Accessible.name: qsTr("Website")
                        ToolTip.text: qsTr("Website")
                        ToolTip.visible: hovered
                        onClicked: StoreData.openURL(app.websiteURL)
                    }
                    StoreButton {
                        id: share
                        anchors.verticalCenter: parent.verticalCenter
                        kind: "icon"
                        symbol: "square.and.arrow.up"
                        Accessible.name: qsTr("Share")
                        ToolTip.text: qsTr("Share")
                        ToolTip.visible: hovered && !shareMenu.visible
                        onClicked: shareMenu.popup(share, 0, share.height + 4)
                        Menu {
                            id: shareMenu
                            MenuItem {
                                text: qsTr("Copy Link")
                                onTriggered: StoreData.copyText(app.pageURL.toString())
                            }
                            MenuItem {
                                text: qsTr("Open in Browser")
                                onTriggered: StoreData.openURL(app.pageURL)
                            }
                        }
                    }
                }
                StoreText {
                    width: parent.width
                    visible: app.failureMessage.length > 0
                    topPadding: 8
                    text: app.failureMessage
                    size: 12
                    color: Store.warning
                    wrapMode: Text.Wrap
                }
            }
        }
        Facts {
            item: app
        }
        ScreenshotStrip {
            visible: app.screenshots.length > 0
            urls: app.screenshots
            storeScale: detail.storeScale
            onOpen: index => viewerState.open(index)
        }
        PanelGroup {
            caption: qsTr("About")
            StoreText {
                id: description
                width: Math.min(parent.width - 32, 720)
                anchors.left: parent.left
                anchors.leftMargin: 16
                topPadding: 4
                bottomPadding: 16
                text: app.description
                size: 14
                // Four points between lines beyond the font's own spacing.
                lineHeightMode: Text.FixedHeight
                lineHeight: descriptionMetrics.lineSpacing + 4
                wrapMode: Text.Wrap
                FontMetrics {
                    id: descriptionMetrics
                    font: description.font
                }
            }
        }
    }
    ScreenshotViewer {
        anchors.fill: parent
        viewerState: detail.viewer
        urls: app.screenshots
        opacity: viewerState.isOpen ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            NumberAnimation {
                duration: 200
                easing.type: Easing.OutQuad
            }
        }
    }
}
