import QtQuick

// The panel's waiting, token-required and all-caught-up areas.
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

    Column {
        id: column
        anchors.centerIn: parent
        width: Math.max(parent.width - Theme.px(80), 0)
        spacing: Theme.px(16)

        SymbolIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            symbol: state.symbol
            color: state.symbolColor
            size: 48
        }
        Column {
            width: parent.width
            spacing: Theme.px(8)
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: state.heading
                font.pixelSize: Theme.px(16)
                font.weight: Font.DemiBold
                color: Theme.primary
                wrapMode: Text.Wrap
            }
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: state.detail
                font.pixelSize: Theme.px(13)
                color: Theme.secondary
                wrapMode: Text.Wrap
                maximumLineCount: 2
            }
        }
        ButtonBase {
            id: action
            objectName: "emptyStateAction"
            visible: state.actionText.length > 0
            anchors.horizontalCenter: parent.horizontalCenter
            highlighted: true
            radius: Theme.px(8)
            leftPadding: Theme.px(16)
            rightPadding: Theme.px(16)
            topPadding: Theme.px(8)
            bottomPadding: Theme.px(8)
            Accessible.name: state.actionText
            onClicked: state.actionTriggered()
            contentItem: Row {
                spacing: Theme.px(6)
                SymbolIcon { symbol: "gearshape"; color: action.foreground; size: 13; anchors.verticalCenter: parent.verticalCenter }
                Text { text: state.actionText; color: action.foreground; font.pixelSize: Theme.px(13); anchors.verticalCenter: parent.verticalCenter }
            }
        }
    }
}
