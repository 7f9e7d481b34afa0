import QtQuick

// A borderless icon button whose tooltip shows even while it is disabled.
Item {
    id: holder
    property alias symbol: button.symbol
    property alias iconColor: button.iconColor
    property string tip
    // Not `enabled`: a disabled item would receive no hover and show no tooltip.
    property bool active: true
    signal clicked()

    implicitWidth: button.implicitWidth
    implicitHeight: button.implicitHeight
    Accessible.ignored: true

    HoverHandler { id: hover }

    IconButton {
        id: button
        objectName: holder.objectName + "Control"
        anchors.fill: parent
        enabled: holder.active
        padding: Theme.px(4)
        activeFocusOnTab: false
        tip: holder.tip
        onClicked: holder.clicked()
    }

    Tip { text: holder.tip; wanted: hover.hovered && !holder.active }
}
