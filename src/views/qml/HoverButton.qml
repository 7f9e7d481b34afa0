import QtQuick
import QtQuick.Controls

// A borderless icon button whose tooltip shows even while it is disabled.
Item {
    id: holder
    property alias symbol: icon.symbol
    property alias iconColor: icon.color
    property string tip
    // Not `enabled`: a disabled item would receive no hover and show no tooltip.
    property bool active: true
    signal clicked()

    implicitWidth: button.implicitWidth
    implicitHeight: button.implicitHeight
    Accessible.ignored: true

    HoverHandler { id: hover }

    ToolButton {
        id: button
        objectName: holder.objectName + "Control"
        anchors.fill: parent
        enabled: holder.active
        flat: true
        padding: Theme.px(4)
        focusPolicy: Qt.NoFocus
        contentItem: SymbolIcon { id: icon; size: 14; opacity: button.enabled ? 1 : 0.55 }
        Accessible.name: holder.tip
        Accessible.onPressAction: if (enabled) clicked()
        onClicked: holder.clicked()
    }

    ToolTip.visible: hover.hovered && tip.length > 0
    ToolTip.text: tip
    ToolTip.delay: 500
}
