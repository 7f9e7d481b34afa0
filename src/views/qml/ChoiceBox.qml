import QtQuick
import QtQuick.Controls

// A drop-down of labelled values ({ label, value }). The field shows the
// current label as plain text, so a screen reader meets the box's own name
// and value, not an unnamed text field inside it.
ComboBox {
    id: control
    required property var choices
    property var value

    model: choices
    textRole: "label"
    valueRole: "value"
    currentIndex: choices.findIndex(choice => choice.value === value)
    displayText: currentIndex < 0 ? "" : currentText
    Accessible.onPressAction: popup.open()

    contentItem: Label {
        leftPadding: Theme.px(8)
        rightPadding: control.indicator ? control.indicator.width + Theme.px(4) : Theme.px(8)
        text: control.displayText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }
}
