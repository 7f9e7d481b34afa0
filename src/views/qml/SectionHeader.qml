import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A settings section's title with its icon, and its caption below.
ColumnLayout {
    id: header
    property string symbol
    property string title
    property string caption
    spacing: Theme.px(12)
    Layout.fillWidth: true

    RowLayout {
        spacing: Theme.px(6)
        SymbolIcon { symbol: header.symbol; size: 14 }
        Label { text: header.title; font.pixelSize: Theme.px(14); font.weight: Font.DemiBold }
    }
    Label {
        Layout.fillWidth: true
        text: parent.caption
        font.pixelSize: Theme.px(12)
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
}
