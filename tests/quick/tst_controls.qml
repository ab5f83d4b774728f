import QtQuick
import QtTest
import TesselStore.Theme
import TesselStore.Components

Item {
    id: root
    width: 1600
    height: 800

    Column {
        spacing: 8
        StoreField {
            id: field
            title: "Search apps"
            symbol: "magnifyingglass"
        }
        StoreField {
            id: other
            title: "Other"
        }
        StoreButton {
            id: primary
            kind: "primary"
            text: "Install"
            enabled: false
        }
        StoreButton {
            id: quiet
            kind: "quiet"
            text: "See all"
            enabled: false
        }
        Item {
            id: narrow
            width: 10
            height: 40
            Badge {
                id: badge
                kind: "update"
            }
        }
    }
    Page {
        id: page
        width: root.width
        height: 400
        y: 400
        maxWidth: 900
        storeScale: 1.4
        Rectangle {
            id: pageContent
            width: parent.width
            height: 10
        }
    }
    SignalSpy {
        id: clicks
        target: primary
        signalName: "clicked"
    }

    TestCase {
        name: "Controls"
        when: windowShown

        function edgeOf(item) {
            return item.children[item.children.length - 1];
        }

        function test_theFieldsBorderFollowsFocus() {
            const edge = edgeOf(field);
            compare(edge.border.color, Store.panelEdge);
            mouseClick(field);
            verify(field.focused);
            const accent = Store.accent;
            compare(edge.border.color, Qt.rgba(accent.r, accent.g, accent.b, 0.7));
            tryCompare(edge.border, "width", 1.5, 2000);
            other.forceInputFocus();
            verify(!field.focused);
            compare(edge.border.color, Store.panelEdge);
            tryCompare(edge.border, "width", 1, 2000);
        }

        function test_aDisabledPrimaryButtonIgnoresClicksAndDims() {
            mouseClick(primary);
            compare(clicks.count, 0);
            compare(primary.opacity, 0.45);
            primary.enabled = true;
            mouseClick(primary);
            compare(clicks.count, 1);
            compare(primary.opacity, 1);
            primary.enabled = false;
        }

        function test_aQuietButtonIgnoresTheDisabledStateInItsDrawing() {
            compare(quiet.enabled, false);
            compare(quiet.opacity, 1);
        }

        function test_aPageAtLargeScaleKeepsItsWidthAndTopPadding() {
            // 900 × 1.4 wide at most, 32 × 1.4 at the sides, 48 at the top whatever the scale.
            compare(page.blockWidth, 1260);
            compare(page.sidePadding, 44.8);
            const topLeft = pageContent.mapToItem(page, 0, 0);
            compare(topLeft.y, 48);
            compare(topLeft.x, (root.width - 1260) / 2 + 44.8);
            compare(pageContent.width, 1260 - 2 * 44.8);
        }

        function test_aBadgeInANarrowContainerKeepsItsSize() {
            compare(badge.height, 22);
            verify(badge.width > narrow.width);
            compare(badge.width, badge.implicitWidth);
        }

        function test_aPrimaryButtonIsFilledWithTheAccent() {
            primary.enabled = true;
            const picture = grabImage(primary);
            compare(picture.pixel(primary.width / 2, 3), Store.accent);
            primary.enabled = false;
        }
    }
}
