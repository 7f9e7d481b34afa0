pragma Singleton
import QtQuick

// The named colours and the size scale of the views, following the system
// palette and font where the desktop has an opinion. SystemPalette follows
// the application's palette, so a desktop switching between light and dark
// recolours every view while it runs.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property SystemPalette disabledPalette: SystemPalette { colorGroup: SystemPalette.Disabled }
    readonly property bool dark: palette.window.hslLightness < 0.5
    readonly property color primary: palette.windowText
    readonly property color secondary: Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color accent: palette.highlight
    readonly property color controlBackground: palette.window
    // Tinted for the background they stand on, so text in them reads at
    // 4.5:1 or better on a light window and on a dark one.
    readonly property color red: dark ? "#ff6b61" : "#c4271d"
    readonly property color orange: dark ? "#ffa426" : "#9c5000"
    readonly property color green: dark ? "#4cd964" : "#1b7a31"
    readonly property color blue: dark ? "#4da3ff" : "#0062cc"
    readonly property color divider: Qt.rgba(primary.r, primary.g, primary.b, 0.12)

    // Buttons: the palette's own button colours; flat ones stand on the window.
    readonly property color button: palette.button
    readonly property color buttonText: palette.buttonText
    readonly property color buttonBorder: Qt.rgba(buttonText.r, buttonText.g, buttonText.b, 0.28)
    readonly property color fieldBackground: palette.base
    readonly property color fieldText: palette.text
    // Text on the accent: the palette's own where it reads, else black or
    // white (Breeze Dark's white on its light blue reads at 2.4:1).
    readonly property color onAccent: readableOn(accent, palette.highlightedText)

    // WCAG's contrast of two opaque colours, 1 to 21.
    function contrast(a, b) {
        const luminance = c => {
            const channel = v => v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4)
            return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b)
        }
        const la = luminance(a)
        const lb = luminance(b)
        return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05)
    }
    function readableOn(background, preferred) {
        if (contrast(preferred, background) >= 4.5)
            return preferred
        return contrast(Qt.rgba(0, 0, 0, 1), background) > contrast(Qt.rgba(1, 1, 1, 1), background) ? Qt.rgba(0, 0, 0, 1) : Qt.rgba(1, 1, 1, 1)
    }

    // The language reads right to left: the views mirror.
    readonly property bool rightToLeft: Qt.locale().textDirection === Qt.RightToLeft

    function withAlpha(c, alpha) { return Qt.rgba(c.r, c.g, c.b, alpha) }
    // A background lifted by hover or press: the foreground laid over it.
    function shade(background, foreground, amount) { return Qt.tint(background, withAlpha(foreground, amount)) }

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
