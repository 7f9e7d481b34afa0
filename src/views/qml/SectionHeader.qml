import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A settings section's title with its icon, and its caption below.
ColumnLayout {
    property string symbol
    property string title
    property string caption
    spacing: 12
    Layout.fillWidth: true

    RowLayout {
        spacing: 6
        SymbolIcon { symbol: parent.parent.symbol; size: 14 }
        Label { text: parent.parent.title; font.pixelSize: 14; font.weight: Font.DemiBold }
    }
    Label {
        Layout.fillWidth: true
        text: parent.caption
        font.pixelSize: 12
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
}
