import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// The rounded sidebar: the store's icon and name (which open the command menu), the three
// sections, Account at the foot, and the version.
StorePanel {
    id: sidebar
    objectName: "sidebar"
    property real storeScale: 1
    property StoreNavigation navigation
    signal menuRequested(Item anchor)
    radius: 18

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 0

        T.AbstractButton {
            id: header
            Layout.fillWidth: true
            implicitWidth: implicitContentWidth + leftPadding + rightPadding
            implicitHeight: implicitContentHeight + topPadding + bottomPadding
            leftPadding: 12
            rightPadding: 12
            topPadding: 48
            bottomPadding: 16
            focusPolicy: Qt.StrongFocus
            Accessible.name: qsTr("Tessel Store")
            onClicked: sidebar.menuRequested(header)
            contentItem: Row {
                spacing: 10
                Image {
                    width: 32
                    height: 32
                    anchors.verticalCenter: parent.verticalCenter
                    source: StoreData.appIcon
                    sourceSize: Qt.size(64, 64)
                    smooth: true
                    mipmap: true
                }
                Column {
                    spacing: 1
                    anchors.verticalCenter: parent.verticalCenter
                    StoreText {
                        text: "Tessel Store"
                        size: 15
                        font.weight: Font.Bold
                    }
                    StoreText {
                        text: "Orvel"
                        size: 11.5
                        font.weight: Font.Medium
                        color: Store.dim
                    }
                }
            }
        }
        Repeater {
            model: ["explore", "myApps", "updates"]
            delegate: SidebarRow {
                required property string modelData
                Layout.fillWidth: true
                Layout.bottomMargin: 2
                section: modelData
                navigation: sidebar.navigation
            }
        }
        Item {
            Layout.fillHeight: true
            Layout.minimumHeight: 16
        }
        SidebarRow {
            Layout.fillWidth: true
            section: "account"
            navigation: sidebar.navigation
        }
        StoreText {
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            Layout.topMargin: 8
            text: "v" + StoreData.version
            size: 11
            font.weight: Font.Medium
            color: Store.faint
        }
    }
}
