import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The panel's token-required and all-caught-up areas.
Item {
    id: state
    property string symbol
    property color symbolColor
    property string heading
    property string detail
    property string actionText
    signal actionTriggered()

    implicitWidth: 420
    implicitHeight: Math.min(column.implicitHeight + 80, 460)

    ColumnLayout {
        id: column
        anchors.centerIn: parent
        width: Math.max(parent.width - 80, 0)
        spacing: 16

        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: state.symbol
            color: state.symbolColor
            size: 48
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: state.heading
                font.pixelSize: 16
                font.weight: Font.DemiBold
            }
            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: state.detail
                font.pixelSize: 13
                color: Theme.secondary
                wrapMode: Text.Wrap
                maximumLineCount: 2
            }
        }
        AbstractButton {
            objectName: "emptyStateAction"
            visible: state.actionText.length > 0
            Layout.alignment: Qt.AlignHCenter
            padding: 0
            leftPadding: 16
            rightPadding: 16
            topPadding: 8
            bottomPadding: 8
            text: state.actionText
            Accessible.name: text
            Accessible.onPressAction: clicked()
            Keys.onReturnPressed: clicked()
            Keys.onEnterPressed: clicked()
            onClicked: state.actionTriggered()
            background: Rectangle { radius: 8; color: Theme.accent }
            contentItem: Row {
                spacing: 6
                SymbolIcon { symbol: "gearshape"; color: "white"; size: 13; anchors.verticalCenter: parent.verticalCenter }
                Label { text: state.actionText; color: "white"; font.pixelSize: 13; anchors.verticalCenter: parent.verticalCenter }
            }
        }
    }
}
