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

    implicitWidth: Theme.px(420)
    implicitHeight: Math.min(column.implicitHeight + Theme.px(80), Theme.px(460))

    ColumnLayout {
        id: column
        anchors.centerIn: parent
        width: Math.max(parent.width - Theme.px(80), 0)
        spacing: Theme.px(16)

        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: state.symbol
            color: state.symbolColor
            size: 48
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.px(8)
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: state.heading
                font.pixelSize: Theme.px(16)
                font.weight: Font.DemiBold
            }
            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: state.detail
                font.pixelSize: Theme.px(13)
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
            leftPadding: Theme.px(16)
            rightPadding: Theme.px(16)
            topPadding: Theme.px(8)
            bottomPadding: Theme.px(8)
            text: state.actionText
            Accessible.name: text
            Accessible.onPressAction: clicked()
            Keys.onReturnPressed: clicked()
            Keys.onEnterPressed: clicked()
            onClicked: state.actionTriggered()
            background: Rectangle {
                radius: Theme.px(8)
                color: Theme.accent
                // Keyboard focus shows as a ring.
                border.width: parent.visualFocus ? 2 : 0
                border.color: Theme.primary
            }
            contentItem: Row {
                spacing: Theme.px(6)
                SymbolIcon { symbol: "gearshape"; color: "white"; size: 13; anchors.verticalCenter: parent.verticalCenter }
                Label { text: state.actionText; color: "white"; font.pixelSize: Theme.px(13); anchors.verticalCenter: parent.verticalCenter }
            }
        }
    }
}
