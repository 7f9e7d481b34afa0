import QtQuick

// The orange banner with the store's last message and a dismiss button.
Rectangle {
    id: banner
    property string text
    property int maximumLineCount: 1
    signal dismissed()

    color: Theme.withAlpha(Theme.orange, 0.10)
    implicitHeight: Math.max(errorText.implicitHeight, dismiss.implicitHeight) + Theme.px(16)
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text

    SymbolIcon {
        id: sign
        anchors.left: parent.left
        anchors.leftMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        symbol: "exclamationmark.triangle.fill"
        color: Theme.orange
        size: 14
    }
    Text {
        id: errorText
        objectName: "errorText"
        anchors.left: sign.right
        anchors.right: dismiss.left
        anchors.leftMargin: Theme.px(6)
        anchors.rightMargin: Theme.px(6)
        anchors.verticalCenter: parent.verticalCenter
        text: banner.text
        font.pixelSize: Theme.px(11)
        color: Theme.secondary
        wrapMode: Text.Wrap
        maximumLineCount: banner.maximumLineCount
        elide: Text.ElideRight
        // Messages can quote a server; never read them as markup.
        textFormat: Text.PlainText
    }
    IconButton {
        id: dismiss
        objectName: "dismissButton"
        anchors.right: parent.right
        anchors.rightMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        padding: Theme.px(2)
        symbol: "xmark.circle.fill"
        iconColor: Theme.secondary
        tip: qsTr("Dismiss")
        onClicked: banner.dismissed()
    }
}
