import QtQuick

// One entry of a PopupMenu: its text, highlighted under the pointer or the
// keyboard, and chosen by a click, a key or an assistive tool's press.
Rectangle {
    id: entry
    property string text
    property var menu: null
    signal triggered()
    readonly property bool isMenuEntry: true

    readonly property bool highlighted: menu !== null && menu.current === entry
    width: parent ? parent.width : implicitWidth
    implicitWidth: label.implicitWidth + Theme.px(32)
    implicitHeight: label.implicitHeight + Theme.px(10)
    color: highlighted ? Theme.accent : "transparent"
    Accessible.role: Accessible.MenuItem
    Accessible.name: text
    Accessible.onPressAction: if (enabled) menu.choose(entry)

    Text {
        id: label
        anchors.verticalCenter: parent.verticalCenter
        anchors.left: parent.left
        anchors.leftMargin: Theme.px(16)
        text: entry.text
        color: entry.highlighted ? Theme.onAccent : Theme.buttonText
        opacity: entry.enabled ? 1 : 0.5
        font.pixelSize: Theme.px(12)
    }
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        onContainsMouseChanged: if (containsMouse && entry.enabled) entry.menu.current = entry
        onClicked: if (entry.enabled) entry.menu.choose(entry)
    }
}
