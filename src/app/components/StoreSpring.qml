import QtQuick
import TesselStore.Theme

// A spring given as the response (seconds) and damping fraction the design names.
SpringAnimation {
    property real response: 0.15
    property real dampingFraction: 0.85
    spring: Theme.spring(response, dampingFraction).x
    damping: Theme.spring(response, dampingFraction).y
}
