import QtQuick
import QtQuick.Controls

// Icon, then text, 6 apart, for the panel's footer buttons.
Row {
    property alias symbol: icon.symbol
    property alias text: label.text
    spacing: 6
    SymbolIcon { id: icon; size: 12; anchors.verticalCenter: parent.verticalCenter }
    Label { id: label; font.pixelSize: 12; anchors.verticalCenter: parent.verticalCenter }
}
