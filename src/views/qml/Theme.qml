pragma Singleton
import QtQuick

// The named colours and the size scale of the views, following the system
// palette and font where the desktop has an opinion.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property color primary: palette.windowText
    readonly property color secondary: Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color accent: palette.highlight
    readonly property color controlBackground: palette.window
    readonly property color red: "#ff3b30"
    readonly property color orange: "#ff9500"
    readonly property color green: "#30b94d"
    readonly property color blue: "#0a84ff"
    readonly property color divider: Qt.rgba(primary.r, primary.g, primary.b, 0.12)

    function withAlpha(c, alpha) { return Qt.rgba(c.r, c.g, c.b, alpha) }

    // Sizes in the views are drawn for a 10 pt desktop font; a larger one
    // scales fonts, symbols and margins up with it (never down, so nothing
    // drops below the size it was drawn at).
    readonly property real scale: {
        const font = Qt.application.font
        const points = font.pointSizeF > 0 ? font.pointSizeF : font.pixelSize * 0.75
        return Math.max(1, points / 10)
    }
    function px(designed) { return Math.round(designed * scale) }
}
