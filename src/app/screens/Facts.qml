import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Screens

// Four facts about an app side by side: its latest version, the one installed here, what it
// requires, and who makes it.
StorePanel {
    id: facts
    property AppItem item
    readonly property var entries: [
        { label: qsTr("Latest version"), value: item ? item.latestVersionFact : "" },
        { label: qsTr("On this computer"), value: item ? item.installedFact : "" },
        { label: qsTr("Requires"), value: item ? item.requirementFact : "" },
        { label: qsTr("Developer"), value: "Orvel" }
    ]
    width: parent ? parent.width : 0
    implicitHeight: row.implicitHeight + 32
    radius: 20

    Row {
        id: row
        y: 16
        width: parent.width
        Repeater {
            model: facts.entries
            delegate: Row {
                required property var modelData
                required property int index
                Rectangle {
                    visible: index > 0
                    width: 1
                    height: 30
                    anchors.verticalCenter: parent.verticalCenter
                    color: Store.line
                }
                Column {
                    width: (row.width - 3) / 4
                    spacing: 4
                    Accessible.role: Accessible.StaticText
                    Accessible.name: qsTr("%1: %2").arg(modelData.label).arg(modelData.value)
                    StoreText {
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        text: modelData.label
                        size: 11.5
                        font.weight: Font.Medium
                        color: Store.dim
                    }
                    StoreText {
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        text: modelData.value
                        size: 14
                        font.weight: Font.Bold
                        elide: Text.ElideRight
                    }
                }
            }
        }
    }
}
