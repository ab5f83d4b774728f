import QtQuick
import TesselStore.Theme

// A page's large title: the title, an optional second line, an optional lead text, and an
// optional warning under it.
Column {
    id: headline
    property string title
    property string second
    property string lead
    property string warning
    property real storeScale: 1
    width: parent ? parent.width : implicitWidth
    spacing: 8
    Column {
        width: parent.width
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignLeft
            text: headline.title
            color: Store.ink
            font.family: Theme.fontFamily
            font.weight: Font.Bold
            font.pointSize: Theme.pt(Theme.titleScale(headline.storeScale) * 30)
            font.letterSpacing: -0.4
            wrapMode: Text.Wrap
            Accessible.role: Accessible.Heading
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignLeft
            visible: headline.second.length > 0
            text: headline.second
            color: Store.dim
            font.family: Theme.fontFamily
            font.weight: Font.Bold
            font.pointSize: Theme.pt(Theme.titleScale(headline.storeScale) * 30)
            font.letterSpacing: -0.4
            wrapMode: Text.Wrap
        }
    }
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignLeft
        visible: headline.lead.length > 0
        text: headline.lead
        color: Store.dim
        font.family: Theme.fontFamily
        font.pointSize: Theme.pt(14)
        wrapMode: Text.Wrap
    }
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignLeft
        visible: headline.warning.length > 0
        text: headline.warning
        color: Store.warning
        font.family: Theme.fontFamily
        font.pointSize: Theme.pt(14)
        wrapMode: Text.Wrap
    }
}
