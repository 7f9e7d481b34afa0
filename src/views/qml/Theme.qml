pragma Singleton
import QtQuick

// The named colours of the views, following the system palette where the
// desktop has an opinion.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property color primary: palette.windowText
    readonly property color secondary: Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color accent: palette.highlight
    readonly property color controlBackground: palette.window
    readonly property color orange: "#ff9500"
    readonly property color green: "#30b94d"
    readonly property color blue: "#0a84ff"
    readonly property color divider: Qt.rgba(primary.r, primary.g, primary.b, 0.12)

    function withAlpha(c, alpha) { return Qt.rgba(c.r, c.g, c.b, alpha) }
}
