import QtQuick

// A tooltip of the views' own: while `wanted` holds for half a second, the
// text shows in a small box under its owner (TipBox), laid over the window.
// Assistive tools read the owner's name instead.
Loader {
    id: tip
    property string text
    property bool wanted: false

    onWantedChanged: if (!wanted) source = ""
    Timer {
        interval: 500
        running: tip.wanted && tip.text.length > 0 && tip.status === Loader.Null
        onTriggered: tip.setSource("TipBox.qml", { owner: tip.parent, text: tip.text })
    }
}
