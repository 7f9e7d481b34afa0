import QtQuick

// Shown while the token's keyring stays locked: the threads stay, nothing
// is fetched, and the button asks the desktop to unlock it again.
Rectangle {
    id: banner
    signal unlockRequested()

    color: Theme.withAlpha(Theme.secondary, 0.08)
    implicitHeight: Math.max(lockedText.implicitHeight, unlock.implicitHeight) + Theme.px(16)
    Accessible.role: Accessible.AlertMessage
    Accessible.name: lockedText.text

    SymbolIcon {
        id: key
        anchors.left: parent.left
        anchors.leftMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        symbol: "key.fill"
        color: Theme.secondary
        size: 14
    }
    Text {
        id: lockedText
        anchors.left: key.right
        anchors.right: unlock.left
        anchors.leftMargin: Theme.px(6)
        anchors.rightMargin: Theme.px(6)
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("The keyring is locked. Quillfen waits until it is unlocked.")
        font.pixelSize: Theme.px(11)
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
    LabeledButton {
        id: unlock
        objectName: "unlockKeyringButton"
        anchors.right: parent.right
        anchors.rightMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("Unlock Keyring")
        onClicked: banner.unlockRequested()
    }
}
