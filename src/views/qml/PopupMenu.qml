import QtQuick

// A context menu from Qt Quick items, laid over its window: the entries in a
// framed column at the point asked for, kept inside the window. Up and Down
// move between the enabled entries, Return, Enter and Space choose, Escape or
// a click outside closes it, and closing gives the focus back.
FocusScope {
    id: menu
    default property alias entries: column.data
    property var current: null
    property Item returnFocusTo: null
    signal closed()

    property bool mirrored: false
    visible: false
    z: 1000
    LayoutMirroring.enabled: mirrored
    LayoutMirroring.childrenInherit: true
    Accessible.role: Accessible.PopupMenu

    Component.onCompleted: {
        for (const entry of Array.from(column.children)) {
            if (entry.isMenuEntry === true)
                entry.menu = menu
        }
    }

    // Opens at `x`, `y` of `item`.
    function popup(item, x, y) {
        const layer = item.Window.window.contentItem
        parent = layer
        width = layer.width
        height = layer.height
        returnFocusTo = item.Window.activeFocusItem
        const at = item.mapToItem(layer, x, y)
        mirrored = item.LayoutMirroring.enabled
        const left = mirrored ? at.x - frame.width : at.x
        frame.x = Math.max(0, Math.min(left, width - frame.width))
        frame.y = Math.max(0, Math.min(at.y, height - frame.height))
        current = null
        visible = true
        forceActiveFocus()
    }

    function close() {
        if (!visible)
            return
        visible = false
        if (returnFocusTo)
            returnFocusTo.forceActiveFocus()
        closed()
    }

    function choose(entry) {
        close()
        entry.triggered()
    }

    // The next enabled entry up (-1) or down (1) from the current one.
    function step(direction) {
        const enabled = Array.from(column.children).filter(entry => entry.isMenuEntry === true && entry.enabled)
        if (enabled.length === 0)
            return
        const at = enabled.indexOf(current)
        current = enabled[at < 0 ? (direction > 0 ? 0 : enabled.length - 1)
                                 : (at + direction + enabled.length) % enabled.length]
    }

    Keys.onEscapePressed: close()
    Keys.onUpPressed: step(-1)
    Keys.onDownPressed: step(1)
    Keys.onReturnPressed: if (current) choose(current)
    Keys.onEnterPressed: if (current) choose(current)
    Keys.onSpacePressed: if (current) choose(current)

    // A hidden window takes its menu along.
    Connections {
        target: menu.Window.window
        function onVisibleChanged() { menu.close() }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onPressed: menu.close()
    }

    Rectangle {
        id: frame
        width: column.width + 2 * border.width
        height: column.height + Theme.px(8)
        radius: Theme.px(4)
        color: Theme.button
        border.color: Theme.buttonBorder
        // Clicks on the frame stay in the menu.
        MouseArea { anchors.fill: parent }
        Column {
            id: column
            x: frame.border.width
            y: Theme.px(4)
            width: Math.max(Theme.px(160), ...Array.from(children, entry => entry.implicitWidth))
        }
    }
}
