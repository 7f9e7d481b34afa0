import QtQuick

// A vertical scroll bar for a Flickable from Qt Quick items: a thumb that
// shows the visible part and can be dragged; a click beside it pages.
Item {
    id: bar
    required property Flickable target
    readonly property bool needed: target.visibleArea.heightRatio < 1

    visible: needed
    width: Theme.px(8)
    Accessible.ignored: true

    MouseArea {
        anchors.fill: parent
        onPressed: mouse => {
            const page = mouse.y < thumb.y ? -1 : 1
            bar.scrollTo(bar.target.contentY + page * bar.target.height)
        }
    }

    function scrollTo(y) {
        const top = target.originY - target.topMargin
        const bottom = target.originY + target.contentHeight + target.bottomMargin - target.height
        target.contentY = Math.max(top, Math.min(y, bottom))
    }

    Rectangle {
        id: thumb
        x: Theme.px(2)
        width: parent.width - Theme.px(4)
        y: bar.target.visibleArea.yPosition * bar.height
        height: Math.max(Theme.px(20), bar.target.visibleArea.heightRatio * bar.height)
        radius: width / 2
        color: Theme.withAlpha(Theme.primary, drag.pressed ? 0.55 : drag.containsMouse ? 0.45 : 0.3)

        MouseArea {
            id: drag
            anchors.fill: parent
            hoverEnabled: true
            property real grabbedAt: 0
            property real startY: 0
            onPressed: mouse => { grabbedAt = mapToItem(bar, 0, mouse.y).y; startY = bar.target.contentY }
            onPositionChanged: mouse => {
                if (pressed) {
                    const moved = mapToItem(bar, 0, mouse.y).y - grabbedAt
                    bar.scrollTo(startY + moved / bar.height * (bar.target.contentHeight + bar.target.topMargin + bar.target.bottomMargin))
                }
            }
        }
    }
}
