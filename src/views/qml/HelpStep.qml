import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// One numbered step of the token help box.
RowLayout {
    property int number
    property string text
    spacing: 8

    Label {
        Layout.preferredWidth: 16
        Layout.alignment: Qt.AlignTop
        horizontalAlignment: Text.AlignRight
        text: parent.number + "."
        font.pixelSize: 11
        font.weight: Font.Medium
        color: Theme.secondary
    }
    Label {
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignTop
        text: parent.text
        font.pixelSize: 11
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
}
