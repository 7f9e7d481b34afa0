import QtQuick

// A symbol from the icon catalogue, drawn in one colour.
Image {
    id: icon
    property string symbol
    property color color: Theme.primary
    property int size: 16

    width: Theme.px(size)
    height: Theme.px(size)
    sourceSize: Qt.size(width * Screen.devicePixelRatio, height * Screen.devicePixelRatio)
    source: symbol.length > 0 ? "image://symbols/" + symbol + "?" + icon.color.toString().substring(1) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
    Accessible.ignored: true
}
