import QtQuick

// A symbol from the icon catalogue, drawn in one colour.
Image {
    id: icon
    property string symbol
    property color color: Theme.primary
    property int size: 16

    width: size
    height: size
    sourceSize: Qt.size(size * Screen.devicePixelRatio, size * Screen.devicePixelRatio)
    source: symbol.length > 0 ? "image://symbols/" + symbol + "?" + icon.color.toString().substring(1) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
    Accessible.ignored: true
}
