import QtQuick

// A button that shows only a symbol. Its tooltip is its accessible name;
// the accessible press action, Space and Return press it as a click does.
ButtonBase {
    id: control
    property alias symbol: icon.symbol
    property alias iconColor: icon.color
    property string tip
    property real padding: Theme.px(6)

    flat: true
    leftPadding: padding
    rightPadding: padding
    topPadding: padding
    bottomPadding: padding
    implicitHeight: icon.height + topPadding + bottomPadding
    Accessible.name: tip

    Tip { text: control.tip; wanted: control.hovered }

    contentItem: SymbolIcon { id: icon; size: 14; color: control.foreground }
}
