import QtQuick
import QtQuick.Controls
import TesselStore.Theme
import TesselStore.Components

// Every component in its states, on one scrolling page.
ApplicationWindow {
    id: window
    objectName: "gallery"
    title: "Tessel Store components"
    width: 1180
    height: 1400
    color: Store.page
    visible: true

    Item {
        anchors.fill: parent
        LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
        LayoutMirroring.childrenInherit: true

        Page {
            anchors.fill: parent
            maxWidth: 1100
            storeScale: 1

            Headline {
                title: "Components"
                second: "in every state"
                lead: "Buttons, fields, segments, panels and badges, as the screens use them."
            }
            Headline {
                title: "At scale 1.4"
                lead: "Large titles grow by the damped factor."
                storeScale: 1.4
            }

            SectionHeader {
                title: "Buttons"
                StoreButton {
                    kind: "quiet"
                    text: "See all"
                }
            }
            Repeater {
                model: ["primary", "secondary", "quiet", "icon"]
                delegate: Row {
                    required property string modelData
                    spacing: 12
                    Repeater {
                        model: [
                            { compact: false, enabled: true, down: undefined },
                            { compact: true, enabled: true, down: undefined },
                            { compact: false, enabled: true, down: true },
                            { compact: false, enabled: false, down: undefined }
                        ]
                        delegate: StoreButton {
                            required property var modelData
                            kind: parent.modelData
                            compact: modelData.compact
                            enabled: modelData.enabled
                            down: modelData.down
                            text: kind === "icon" ? "" : modelData.down ? "Pressed" : !modelData.enabled ? "Disabled" : compact ? "Compact" : "Install"
                            symbol: kind === "icon" ? "arrow.clockwise" : ""
                        }
                    }
                }
            }

            SectionHeader {
                title: "Fields and segments"
            }
            Row {
                spacing: 16
                StoreField {
                    title: "Search apps"
                    symbol: "magnifyingglass"
                    fieldWidth: 260
                }
                StoreField {
                    id: focusedField
                    title: "Focused"
                    fieldWidth: 200
                    Component.onCompleted: forceInputFocus()
                }
                StoreSegmented {
                    id: appearance
                    property var current: "system"
                    options: [{ value: "system", title: "Automatic" }, { value: "light", title: "Light" }, { value: "dark", title: "Dark" }]
                    selection: current
                    onSelected: value => current = value
                }
            }
            StoreSegmented {
                property var current: "all"
                fills: true
                options: [{ value: "all", title: "All" }, { value: "installed", title: "Installed" }, { value: "updates", title: "Updates" }]
                selection: current
                onSelected: value => current = value
            }

            SectionHeader {
                title: "Panels"
            }
            PanelGroup {
                caption: "STORE"
                PanelRow {
                    title: "Open at login"
                    detail: "Keep the store in the tray from the start."
                    Switch {
                        checked: true
                    }
                }
                PanelDivider {}
                PanelRow {
                    title: "Check for App Updates"
                    StoreButton {
                        kind: "secondary"
                        compact: true
                        text: "Check"
                    }
                }
            }

            SectionHeader {
                title: "Badges"
            }
            Row {
                spacing: 12
                Badge {
                    kind: "installed"
                }
                Badge {
                    kind: "update"
                }
                Item {
                    width: 8
                    height: 1
                }
                NightArt {
                    width: 360
                    height: 120
                    Row {
                        anchors.centerIn: parent
                        spacing: 12
                        Badge {
                            kind: "installed"
                            onDark: true
                        }
                        Badge {
                            kind: "update"
                            onDark: true
                        }
                    }
                }
            }
            Row {
                spacing: 16
                Repeater {
                    model: ["sparkles", "square.grid.2x2", "arrow.down.circle", "person.crop.circle", "magnifyingglass", "xmark", "wifi.slash", "square.and.arrow.up", "safari", "chevron.left", "chevron.right", "arrow.down", "arrow.clockwise", "checkmark"]
                    delegate: Symbol {
                        required property string modelData
                        name: modelData
                        size: 20
                        color: Store.accent
                    }
                }
            }
        }
    }
}
