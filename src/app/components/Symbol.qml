import QtQuick
import TesselStore.Theme

// A system symbol by name, drawn from the icon font in the given colour; symbols that point
// along the reading direction turn in right-to-left layouts.
Text {
    property string name
    property real size: 14
    readonly property bool turned: Theme.mirrors(name) && LayoutMirroring.enabled
    text: Theme.icon(name)
    font.family: Theme.iconFamily
    font.pointSize: Theme.pt(size)
    color: Store.ink
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    transform: Scale {
        origin.x: width / 2
        xScale: turned ? -1 : 1
    }
    Accessible.ignored: true
}
