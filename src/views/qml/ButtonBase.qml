import QtQuick

// What every button of the views shares, from Qt Quick items alone: the
// frame with its hover, pressed, checked and focus looks in the palette's
// colours, the click, and what assistive tools and the keyboard see (a
// button with its name, the press action, Tab, Space, Return and Enter).
// The owner sets `contentItem`, which is centred inside the paddings.
Item {
    id: control
    property Item contentItem
    property bool flat: false
    property bool highlighted: false
    property bool checkable: false
    property bool checked: false
    property real radius: Theme.px(4)
    property real leftPadding: Theme.px(8)
    property real rightPadding: Theme.px(8)
    property real topPadding: Theme.px(4)
    property real bottomPadding: Theme.px(4)
    readonly property bool hovered: area.containsMouse
    readonly property bool pressed: area.pressed
    // Focus shows only when the keyboard or an assistive tool gave it: a
    // click does not focus a button.
    readonly property bool visualFocus: activeFocus
    // The colour for text and symbols on this button's background.
    readonly property color foreground: highlighted ? Theme.onAccent : flat ? Theme.primary : Theme.buttonText
    signal clicked()
    signal toggled()

    implicitWidth: (contentItem ? contentItem.implicitWidth : 0) + leftPadding + rightPadding
    implicitHeight: Math.max(Theme.px(24), (contentItem ? contentItem.implicitHeight : 0) + topPadding + bottomPadding)
    activeFocusOnTab: true
    opacity: enabled ? 1 : 0.55

    Accessible.role: Accessible.Button
    Accessible.focusable: true
    Accessible.checkable: checkable
    Accessible.checked: checked
    Accessible.onPressAction: control.activate()
    Accessible.onToggleAction: control.activate()
    Keys.onReturnPressed: control.activate()
    Keys.onEnterPressed: control.activate()
    Keys.onSpacePressed: event => {
        if (!event.isAutoRepeat)
            control.activate()
    }

    // A checkable button asks its owner to toggle: `checked` stays bound.
    function activate() {
        if (!enabled)
            return
        if (checkable)
            control.toggled()
        control.clicked()
    }

    function placeContent() {
        if (contentItem && contentItem.parent !== control) {
            contentItem.parent = control
            contentItem.anchors.centerIn = control
        }
    }
    onContentItemChanged: placeContent()
    Component.onCompleted: placeContent()

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: control.radius
        readonly property color base: control.highlighted ? Theme.accent
                                    : control.checked ? Theme.shade(control.flat ? Theme.controlBackground : Theme.button, Theme.accent, 0.28)
                                    : control.flat ? Theme.controlBackground : Theme.button
        readonly property bool bare: control.flat && !control.checked && !control.highlighted
        color: control.pressed ? Theme.shade(base, control.foreground, 0.18)
             : control.hovered && control.enabled ? Theme.shade(base, control.foreground, 0.09)
             : bare ? "transparent" : base
        border.width: control.visualFocus ? Theme.px(2) : bare ? 0 : 1
        border.color: control.visualFocus ? Theme.accent : Theme.buttonBorder
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: control.activate()
    }
}
