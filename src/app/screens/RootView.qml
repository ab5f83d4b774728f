import QtQuick
import TesselStore.Theme
import TesselStore.Screens

// The window's whole content: the sidebar, the selected section's page, and an app's page
// over it while the navigation path holds one.
Item {
    id: root
    property real storeScale: 1
    readonly property alias navigation: navigation
    // The sidebar's header was clicked: the window hangs its command menu there.
    signal menuRequested(Item anchor)

    StoreNavigation {
        id: navigation
        model: StoreData.model
    }
    Sidebar {
        id: sidebar
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: 8
        width: Theme.sidebarWidth(root.storeScale)
        storeScale: root.storeScale
        navigation: root.navigation
        onMenuRequested: anchor => root.menuRequested(anchor)
    }
    Item {
        id: pageArea
        anchors.left: sidebar.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom

        // A new page for each section, so that each starts afresh.
        Loader {
            anchors.fill: parent
            visible: !navigation.showsDetail
            sourceComponent: ({
                    "explore": explore,
                    "myApps": myApps,
                    "updates": updates,
                    "account": account
                })[navigation.section]
        }
        Loader {
            anchors.fill: parent
            active: navigation.showsDetail
            sourceComponent: AppDetailView {
                productID: navigation.detailProductID
                back: navigation.sectionTitle
                storeScale: root.storeScale
                onBackRequested: navigation.back()
            }
        }
    }
    Component {
        id: explore
        ExploreView {
            storeScale: root.storeScale
            navigation: root.navigation
        }
    }
    Component {
        id: myApps
        MyAppsView {
            storeScale: root.storeScale
            navigation: root.navigation
        }
    }
    Component {
        id: updates
        UpdatesView {
            storeScale: root.storeScale
            navigation: root.navigation
        }
    }
    Component {
        id: account
        AccountView {
            storeScale: root.storeScale
        }
    }
}
