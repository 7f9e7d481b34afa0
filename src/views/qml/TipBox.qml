import QtQuick

// A Tip's box: the text under `owner`, over its window's content and kept
// inside it (above the owner where there is no room below).
Rectangle {
    id: box
    required property Item owner
    required property string text
    readonly property Item overlay: owner.Window.window ? owner.Window.window.contentItem : owner
    readonly property point below: owner.mapToItem(overlay, owner.width / 2, owner.height)

    parent: overlay
    z: 1000
    x: Math.max(0, Math.min(below.x - width / 2, overlay.width - width))
    y: below.y + Theme.px(4) + height <= overlay.height ? below.y + Theme.px(4)
                                                        : Math.max(0, below.y - owner.height - height - Theme.px(4))
    width: label.implicitWidth + Theme.px(12)
    height: label.implicitHeight + Theme.px(8)
    radius: Theme.px(3)
    color: Theme.controlBackground
    border.color: Theme.buttonBorder
    Accessible.ignored: true

    Text {
        id: label
        anchors.centerIn: parent
        text: box.text
        color: Theme.primary
        font.pixelSize: Theme.px(11)
        textFormat: Text.PlainText
    }
}
