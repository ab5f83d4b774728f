import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// One section of the sidebar: its symbol and title, the number of updates on the Updates row.
T.AbstractButton {
    id: row
    objectName: "section-" + section
    property string section
    property StoreNavigation navigation
    readonly property bool selected: navigation && navigation.section === section
    readonly property int badge: section === "updates" ? StoreData.status.updateCount : 0
    implicitHeight: 36
    leftPadding: 12
    rightPadding: 12
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    text: StoreData.sectionTitle(section)
    // English has one form for one update, other languages more: a plural from two on.
    Accessible.name: badge === 1 ? qsTr("%1, one update").arg(text)
                   : badge > 1 ? qsTr("%1, %n updates", "", badge).arg(text) : text
    Accessible.role: Accessible.PageTab
    Accessible.selected: selected
    onClicked: navigation.select(section)

    contentItem: Row {
        spacing: 10
        Symbol {
            width: 20
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: Text.AlignHCenter
            name: StoreData.sectionSymbol(row.section)
            size: 14
            color: row.selected ? Store.accent : Store.dim
        }
        StoreText {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 30 - (badgeCapsule.visible ? badgeCapsule.width + 10 : 0)
            text: row.text
            size: 13.5
            font.weight: row.selected ? Font.DemiBold : Font.Medium
            color: row.selected ? Store.accent : Store.ink
            elide: Text.ElideRight
        }
        Rectangle {
            id: badgeCapsule
            objectName: "badge"
            visible: row.badge > 0
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(20, count.implicitWidth + 14)
            height: 18
            radius: 9
            color: Store.accent
            StoreText {
                id: count
                objectName: "badgeCount"
                anchors.centerIn: parent
                text: row.badge.toString()
                size: 11
                font.weight: Font.Bold
                color: Store.onAccent
            }
        }
    }
    background: Item {
        // A faint shadow one point down stands in for a blurred one.
        Rectangle {
            visible: row.selected
            anchors.fill: parent
            anchors.topMargin: 1
            anchors.bottomMargin: -1
            radius: 11
            color: Qt.rgba(Store.shadowColor.r, Store.shadowColor.g, Store.shadowColor.b, 0.08)
        }
        Rectangle {
            visible: row.selected || row.hovered
            anchors.fill: parent
            radius: 11
            color: row.selected ? Store.accentSoft : Store.well
            border.width: row.visualFocus ? 2 : 0
            border.color: Store.accent
        }
    }
}
