import QtQuick

// A button with a symbol before its text, or a turning arrow in its place
// while `busy`. Its text is its accessible name; the accessible press
// action, Space and Return all press it as a click does.
ButtonBase {
    id: control
    property string text
    property string symbol
    property bool busy: false
    property color textColor: foreground
    // Only the symbol shows; the text is still the name and the tooltip.
    property bool iconOnly: false

    leftPadding: iconOnly ? Theme.px(6) : Theme.px(10)
    rightPadding: iconOnly ? Theme.px(6) : Theme.px(10)
    implicitHeight: Math.max(Theme.px(28), contentItem.implicitHeight + topPadding + bottomPadding)
    Accessible.name: text

    Tip { text: control.text; wanted: control.iconOnly && control.hovered }

    contentItem: Row {
        spacing: Theme.px(6)
        SymbolIcon {
            id: symbolIcon
            anchors.verticalCenter: parent.verticalCenter
            visible: control.symbol.length > 0 || control.busy
            symbol: control.busy ? "arrow.clockwise" : control.symbol
            color: control.textColor
            size: 12
            RotationAnimator on rotation {
                running: control.busy
                from: 0
                to: 360
                duration: 1000
                loops: Animation.Infinite
                onRunningChanged: if (!running) symbolIcon.rotation = 0
            }
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            visible: !control.iconOnly
            text: control.text
            color: control.textColor
            font.pixelSize: Theme.px(12)
        }
    }
}
