import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// One numbered step of the token help box.
RowLayout {
    property int number
    property string text
    spacing: Theme.px(8)

    Label {
        Layout.preferredWidth: Theme.px(16)
        Layout.alignment: Qt.AlignTop
        horizontalAlignment: Text.AlignRight
        text: parent.number + "."
        font.pixelSize: Theme.px(11)
        font.weight: Font.Medium
        color: Theme.secondary
    }
    Label {
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignTop
        text: parent.text
        font.pixelSize: Theme.px(11)
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
}
