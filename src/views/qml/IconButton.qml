import QtQuick
import QtQuick.Controls

// A button that shows only a symbol. Its tooltip is its accessible name;
// the accessible press action and Return press it as a click does.
ToolButton {
    id: control
    property alias symbol: icon.symbol
    property alias iconColor: icon.color
    property string tip

    flat: true
    Accessible.name: tip
    Accessible.onPressAction: if (enabled) clicked()
    Keys.onReturnPressed: if (enabled) clicked()
    Keys.onEnterPressed: if (enabled) clicked()
    ToolTip.visible: hovered && tip.length > 0
    ToolTip.text: tip
    ToolTip.delay: 500
    contentItem: SymbolIcon { id: icon; size: 14; opacity: control.enabled ? 1 : 0.55 }
}
