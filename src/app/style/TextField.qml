import QtQuick
import QtQuick.Templates as T
import TesselStore.Theme

// The bare text input StoreField draws around; alone it has no frame.
T.TextField {
    id: control
    Accessible.name: placeholderText
    implicitWidth: Math.max(120, contentWidth + leftPadding + rightPadding)
    implicitHeight: 36
    font.family: Theme.fontFamily
    font.pointSize: Theme.pt(13.5)
    color: Store.ink
    placeholderTextColor: Store.faint
    selectionColor: Store.accentSoft
    selectedTextColor: Store.ink
    verticalAlignment: TextInput.AlignVCenter
    Text {
        x: control.leftPadding
        width: control.width - control.leftPadding - control.rightPadding
        height: control.height
        text: control.placeholderText
        font: control.font
        color: control.placeholderTextColor
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        visible: !control.length && !control.preeditText
    }
}
