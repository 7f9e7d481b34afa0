import QtQuick

// A one-line text field from Qt Quick's own TextInput: a frame in the
// palette's field colours, a placeholder while empty, and a focus ring.
// Assistive tools read it as an editable text with its Accessible.name
// (TextInputAccessible).
TextInput {
    id: field
    property string placeholderText

    // TextInput's implicit size is its text's: the field is at least a
    // button's height.
    height: Math.max(Theme.px(28), implicitHeight)
    leftPadding: Theme.px(8)
    rightPadding: Theme.px(8)
    topPadding: Theme.px(5)
    bottomPadding: Theme.px(5)
    verticalAlignment: TextInput.AlignVCenter
    color: Theme.fieldText
    selectionColor: Theme.accent
    selectedTextColor: Theme.onAccent
    selectByMouse: true
    clip: true
    activeFocusOnTab: true

    Rectangle {
        z: -1
        anchors.fill: parent
        radius: Theme.px(4)
        color: Theme.fieldBackground
        border.width: field.activeFocus ? Theme.px(2) : 1
        border.color: field.activeFocus ? Theme.accent : Theme.withAlpha(Theme.fieldText, 0.3)
    }
    Text {
        anchors.fill: parent
        leftPadding: field.leftPadding
        rightPadding: field.rightPadding
        verticalAlignment: Text.AlignVCenter
        visible: field.text.length === 0 && !field.preeditText
        text: field.placeholderText
        color: Theme.withAlpha(Theme.fieldText, 0.6)
        font: field.font
        elide: Text.ElideRight
        Accessible.ignored: true
    }
}
