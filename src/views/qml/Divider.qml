import QtQuick

Rectangle {
    property int inset: 0
    height: 1
    color: Theme.divider
    x: inset
    width: parent ? parent.width - inset : 0
}
