import QtQuick
import QtQuick.Controls
import QtTest
import TesselStore.Components

// The controls are reachable and usable from the keyboard, and say who they are.
Item {
    id: root
    width: 800
    height: 400

    Column {
        spacing: 8
        StoreButton {
            id: install
            kind: "primary"
            text: "Install"
        }
        StoreButton {
            id: share
            kind: "icon"
            symbol: "square.and.arrow.up"
        }
        StoreField {
            id: search
            title: "Search apps"
        }
        StoreSegmented {
            id: appearance
            options: [{ value: "light", title: "Light" }, { value: "dark", title: "Dark" }]
            selection: "light"
        }
        Switch {
            id: launch
            text: "Open at login"
        }
    }
    SignalSpy {
        id: installClicks
        target: install
        signalName: "clicked"
    }
    SignalSpy {
        id: chosen
        target: appearance
        signalName: "selected"
    }

    TestCase {
        name: "Keyboard"
        when: windowShown

        // The segment that stands for the value, wherever the control keeps it.
        function segment(value, item = appearance) {
            for (let index = 0; index < item.children.length; ++index) {
                const child = item.children[index];
                if (child.value === value && child.activeFocusOnTab)
                    return child;
                const found = segment(value, child);
                if (found)
                    return found;
            }
            return null;
        }

        function test_tabVisitsEveryControlInOrder() {
            install.forceActiveFocus(Qt.TabFocusReason);
            const order = [share, search, segment("light"), segment("dark"), launch];
            for (let step = 0; step < order.length; ++step) {
                keyClick(Qt.Key_Tab);
                const expected = order[step] === search ? search.focused : order[step].activeFocus;
                verify(expected, "step " + step);
            }
            // Focus arrived by keyboard shows.
            install.forceActiveFocus(Qt.TabFocusReason);
            verify(install.visualFocus);
        }

        function test_spaceAndReturnActivate() {
            installClicks.clear();
            install.forceActiveFocus(Qt.TabFocusReason);
            keyClick(Qt.Key_Space);
            keyClick(Qt.Key_Return);
            compare(installClicks.count, 2);

            chosen.clear();
            segment("dark").forceActiveFocus(Qt.TabFocusReason);
            keyClick(Qt.Key_Space);
            compare(chosen.count, 1);
            compare(chosen.signalArguments[0][0], "dark");

            launch.forceActiveFocus(Qt.TabFocusReason);
            keyClick(Qt.Key_Space);
            verify(launch.checked);
        }

        function test_everyControlHasAnAccessibleName() {
            for (const control of [install, share, search, launch])
                verify(control.Accessible.name.length > 0, control);
        }
    }
}
