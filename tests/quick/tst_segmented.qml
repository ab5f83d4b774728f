import QtQuick
import QtTest
import TesselStore.Components

Item {
    id: root
    width: 600
    height: 200

    StoreSegmented {
        id: segmented
        property var current: "light"
        options: [{ value: "system", title: "Automatic" }, { value: "light", title: "Light" }, { value: "dark", title: "Dark" }]
        selection: current
        onSelected: value => current = value
    }
    SignalSpy {
        id: selections
        target: segmented
        signalName: "selected"
    }

    TestCase {
        name: "StoreSegmented"
        when: windowShown

        function segmentAt(title) {
            return findChildren(segmented).find(item => item.modelData && item.modelData.title === title) || null;
        }
        function findChildren(item) {
            let all = [];
            for (let index = 0; index < item.children.length; ++index) {
                all.push(item.children[index]);
                all = all.concat(findChildren(item.children[index]));
            }
            return all;
        }
        function init() {
            segmented.current = "light";
            selections.clear();
        }

        function test_clickingTheSelectedSegmentWritesNothing() {
            mouseClick(segmentAt("Light"));
            compare(selections.count, 0);
            compare(segmented.current, "light");
            mouseClick(segmentAt("Dark"));
            compare(selections.count, 1);
            compare(segmented.current, "dark");
        }

        function test_hoverPassesStraightToTheNextSegment() {
            const automatic = segmentAt("Automatic");
            const light = segmentAt("Light");
            mouseMove(automatic, automatic.width / 2, automatic.height / 2);
            compare(segmented.hovered, "system");
            // From one segment straight into the next, across the 2-point gap.
            mouseMove(light, 1, light.height / 2);
            tryCompare(segmented, "hovered", "light");
            mouseMove(root, root.width - 1, root.height - 1);
            tryCompare(segmented, "hovered", undefined);
        }

        function test_aSelectionFromOutsideMovesTheThumb() {
            const dark = segmentAt("Dark");
            const thumb = findChildren(segmented).find(item => item.hasOwnProperty("target"));
            segmented.current = "dark";
            tryCompare(thumb, "x", dark.x + 4, 2000);
            compare(thumb.width, dark.width);
            compare(selections.count, 0);
        }

        function test_theSelectedSegmentIsMarkedForAccessibility() {
            compare(segmentAt("Light").Accessible.selected, true);
            compare(segmentAt("Dark").Accessible.selected, false);
        }
    }
}
