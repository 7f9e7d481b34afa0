import QtQuick

// Gives Qt Quick Controls under `target` the system palette, and again
// whenever it changes: Fusion takes its colours from the platform theme once,
// so a dark desktop, or a switch to one while Quillfen runs, left black
// labels on a dark window.
QtObject {
    id: binder
    required property Item target
    readonly property var roles: ["alternateBase", "base", "button", "buttonText", "dark", "highlight",
        "highlightedText", "light", "mid", "midlight", "placeholderText", "shadow", "text", "window", "windowText"]

    function apply() {
        const palette = binder.target.palette
        for (const role of binder.roles) {
            palette.active[role] = Theme.palette[role]
            palette.inactive[role] = Theme.palette[role]
            palette.disabled[role] = Theme.disabledPalette[role]
        }
    }

    Component.onCompleted: apply()
    readonly property Connections follower: Connections {
        target: Theme.palette
        function onPaletteChanged() { binder.apply() }
    }
}
