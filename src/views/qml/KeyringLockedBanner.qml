import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Shown while the token's keyring stays locked: the threads stay, nothing
// is fetched, and the button asks the desktop to unlock it again.
Rectangle {
    id: banner
    signal unlockRequested()

    color: Theme.withAlpha(Theme.secondary, 0.08)
    implicitHeight: row.implicitHeight + Theme.px(16)
    Accessible.role: Accessible.AlertMessage
    Accessible.name: lockedText.text

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.px(12)
        anchors.rightMargin: Theme.px(12)
        anchors.topMargin: Theme.px(8)
        anchors.bottomMargin: Theme.px(8)
        spacing: Theme.px(6)

        SymbolIcon { symbol: "key.fill"; color: Theme.secondary; size: 14 }
        Label {
            id: lockedText
            Layout.fillWidth: true
            text: qsTr("The keyring is locked. Quillfen waits until it is unlocked.")
            font.pixelSize: Theme.px(11)
            color: Theme.secondary
            wrapMode: Text.Wrap
        }
        LabeledButton {
            objectName: "unlockKeyringButton"
            text: qsTr("Unlock Keyring")
            onClicked: banner.unlockRequested()
        }
    }
}
