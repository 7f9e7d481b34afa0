import QtQuick
import QtQuick.Controls

// A check box whose box reads on a dark window too: Fusion draws it a shade
// off the window's colour, which on a dark palette all but disappears.
CheckBox {
    id: control
    // Assistive tools press or toggle it as a click does, so the change
    // reaches whoever follows `toggled`.
    function flip() {
        if (enabled) {
            toggle()
            toggled()
        }
    }
    Accessible.onPressAction: flip()
    Accessible.onToggleAction: flip()
    indicator: Rectangle {
        implicitWidth: Theme.px(14)
        implicitHeight: Theme.px(14)
        x: control.mirrored ? control.width - width - control.rightPadding : control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: Theme.px(3)
        color: control.checked ? Theme.accent : Theme.fieldBackground
        border.width: control.visualFocus ? 2 : 1
        border.color: control.checked || control.visualFocus ? Theme.accent : Theme.withAlpha(Theme.fieldText, 0.55)
        opacity: control.enabled ? 1 : 0.55
        SymbolIcon {
            anchors.centerIn: parent
            visible: control.checked
            symbol: "checkmark"
            color: Theme.onAccent
            size: 10
        }
    }
}
