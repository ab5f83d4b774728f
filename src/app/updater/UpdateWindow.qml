import QtQuick
import TesselStore.Theme
import TesselStore.Components
import TesselStore.Updater

// The store's own update: what a check found, the choice, and the install's progress. Its
// name does not begin with "main": it is no main window, and closing it changes nothing else.
Window {
    id: window
    readonly property UpdateWindowState updateState: AppUpdater.window
    objectName: "updater"
    title: qsTr("Software Update")
    width: 520
    height: content.implicitHeight + 56
    minimumWidth: 440
    minimumHeight: height
    maximumHeight: height
    color: Store.page
    visible: window.updateState.visible

    onVisibleChanged: {
        if (visible)
            requestActivate();
    }
    onClosing: close => {
        close.accepted = window.updateState.canClose;
        if (close.accepted)
            AppUpdater.dismiss();
    }

    Column {
        id: content
        LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
        LayoutMirroring.childrenInherit: true
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 28
        spacing: 14

        Row {
            width: parent.width
            spacing: 12
            ProgressRing {
                objectName: "progress"
                anchors.verticalCenter: parent.verticalCenter
                visible: window.updateState.showsProgress
                determinate: window.updateState.progressKnown
                value: window.updateState.progress
                width: 22
                height: 22
            }
            StoreText {
                objectName: "title"
                width: parent.width - (window.updateState.showsProgress ? 34 : 0)
                size: 16
                font.weight: Font.Bold
                wrapMode: Text.Wrap
                text: window.updateState.title
            }
        }
        StoreText {
            objectName: "message"
            width: parent.width
            visible: text.length > 0
            color: Store.dim
            wrapMode: Text.Wrap
            text: window.updateState.message
        }
        StorePanel {
            width: parent.width
            height: Math.min(notes.implicitHeight + 24, 180)
            radius: 12
            visible: window.updateState.showsChoices && window.updateState.releaseNotes.length > 0
            clip: true
            Flickable {
                anchors.fill: parent
                anchors.margins: 12
                contentHeight: notes.implicitHeight
                boundsBehavior: Flickable.StopAtBounds
                StoreText {
                    id: notes
                    objectName: "releaseNotes"
                    width: parent.width
                    size: 12.5
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                    text: window.updateState.releaseNotes
                }
            }
        }
        Item {
            width: parent.width
            height: 36
            visible: window.updateState.showsChoices
            StoreButton {
                objectName: "skip"
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                kind: "quiet"
                text: qsTr("Skip This Version")
                enabled: window.updateState.choicesEnabled
                onClicked: AppUpdater.skipThisVersion()
            }
            Row {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: 10
                StoreButton {
                    objectName: "later"
                    kind: "secondary"
                    text: qsTr("Remind Me Later")
                    enabled: window.updateState.choicesEnabled
                    onClicked: AppUpdater.remindLater()
                }
                StoreButton {
                    objectName: "install"
                    kind: "primary"
                    text: qsTr("Install and Relaunch")
                    enabled: window.updateState.choicesEnabled
                    onClicked: AppUpdater.installUpdate()
                }
            }
        }
        Item {
            width: parent.width
            height: 36
            visible: window.updateState.showsDismiss
            StoreButton {
                objectName: "dismiss"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                kind: "primary"
                text: qsTr("OK")
                onClicked: AppUpdater.dismiss()
            }
        }
    }
}
