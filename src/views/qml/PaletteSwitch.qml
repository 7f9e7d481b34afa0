import QtQuick
import QtQuick.Controls

// A switch whose track reads on a dark window too: Fusion draws it a shade
// off the window's colour, which on a dark palette all but disappears.
Switch {
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
        implicitWidth: Theme.px(32)
        implicitHeight: Theme.px(18)
        x: control.mirrored ? control.width - width - control.rightPadding : control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: height / 2
        color: control.checked ? Theme.accent : Theme.fieldBackground
        border.width: control.visualFocus ? 2 : 1
        border.color: control.checked || control.visualFocus ? Theme.accent : Theme.withAlpha(Theme.fieldText, 0.55)
        opacity: control.enabled ? 1 : 0.55
        Rectangle {
            readonly property bool atEnd: control.checked !== control.mirrored
            width: parent.height - Theme.px(6)
            height: width
            radius: width / 2
            y: Theme.px(3)
            x: atEnd ? parent.width - width - Theme.px(3) : Theme.px(3)
            color: control.checked ? Theme.onAccent : Theme.withAlpha(Theme.fieldText, 0.7)
            Behavior on x { NumberAnimation { duration: 100 } }
        }
    }
}
