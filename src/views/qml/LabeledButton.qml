import QtQuick
import QtQuick.Controls

// A button with a symbol before its text, or a spinner in its place while
// `busy`. Its text is its accessible name; the accessible press action,
// Space and Return all press it as a click does.
Button {
    id: control
    property string symbol
    property bool busy: false
    property color textColor: palette.buttonText
    // Only the symbol shows; the text is still the name and the tooltip.
    property bool iconOnly: false

    Accessible.name: text
    Accessible.onPressAction: if (enabled) clicked()
    Keys.onReturnPressed: if (enabled) clicked()
    Keys.onEnterPressed: if (enabled) clicked()
    implicitWidth: iconOnly ? implicitContentWidth + leftPadding + rightPadding
                            : Math.max(implicitBackgroundWidth + leftInset + rightInset,
                                       implicitContentWidth + leftPadding + rightPadding)
    ToolTip.visible: iconOnly && hovered
    ToolTip.text: text
    ToolTip.delay: 500

    contentItem: Row {
        spacing: Theme.px(6)
        Item {
            width: Theme.px(12)
            height: Theme.px(12)
            anchors.verticalCenter: parent.verticalCenter
            visible: control.symbol.length > 0 || control.busy
            BusyIndicator {
                anchors.centerIn: parent
                running: control.busy
                visible: running
                width: Theme.px(17)
                height: Theme.px(17)
                scale: 0.7
            }
            SymbolIcon {
                anchors.centerIn: parent
                visible: !control.busy
                symbol: control.symbol
                color: control.textColor
                size: 12
            }
        }
        Label {
            visible: !control.iconOnly
            text: control.text
            color: control.textColor
            font.pixelSize: Theme.px(12)
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
