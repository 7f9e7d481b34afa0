import QtQuick

// The line between groups of a PopupMenu's entries.
Item {
    width: parent ? parent.width : 0
    height: Theme.px(9)
    Rectangle { anchors.centerIn: parent; width: parent.width - Theme.px(12); height: 1; color: Theme.buttonBorder }
}
