import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The orange banner with the store's last message and a dismiss button.
Rectangle {
    id: banner
    property string text
    property int maximumLineCount: 1
    signal dismissed()

    color: Theme.withAlpha(Theme.orange, 0.10)
    implicitHeight: row.implicitHeight + Theme.px(16)
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.px(12)
        anchors.rightMargin: Theme.px(12)
        anchors.topMargin: Theme.px(8)
        anchors.bottomMargin: Theme.px(8)
        spacing: Theme.px(6)

        SymbolIcon { symbol: "exclamationmark.triangle.fill"; color: Theme.orange; size: 14 }
        Label {
            objectName: "errorText"
            Layout.fillWidth: true
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
            objectName: "dismissButton"
            padding: Theme.px(2)
            symbol: "xmark.circle.fill"
            iconColor: Theme.secondary
            tip: qsTr("Dismiss")
            onClicked: banner.dismissed()
        }
    }
}
