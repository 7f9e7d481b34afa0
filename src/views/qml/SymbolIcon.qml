import QtQuick

// A symbol from the icon catalogue, drawn in one colour.
Image {
    id: icon
    property string symbol
    property color color: Theme.primary
    property int size: 16

    readonly property int side: Theme.px(size)
    width: side
    height: side
    // From the designed size, not from width: a control sizing the icon must
    // not feed back into the picture's own size.
    sourceSize.width: side * Screen.devicePixelRatio
    sourceSize.height: side * Screen.devicePixelRatio
    source: symbol.length > 0 ? "image://symbols/" + symbol + "?" + icon.color.toString().substring(1) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
    Accessible.ignored: true
}
