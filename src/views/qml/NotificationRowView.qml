import QtQuick

// One notification thread as a row: subject icon, title, meta line, unread
// dot, the mark-read, mute and done buttons that fade in on hover, and the
// same actions in a context menu. The list handles the keys the tooltips name.
Item {
    id: row

    required property string threadId
    required property string title
    required property string metaLine
    required property bool unread
    required property bool muted
    required property string iconName
    required property color tintColor
    required property string accessibleName

    property bool snoozed: false
    property bool showHoverActions: true
    // False for an account whose server has no "done".
    property bool canMarkDone: true
    property bool highlighted: false
    readonly property bool isHovering: hover.hovered

    signal open()
    signal markReadToggle()
    signal muteToggle()
    signal markDone()
    // `length`: 0 an hour, 1 tomorrow morning, 2 next week, 3 until updated.
    signal snooze(int length)
    signal unsnooze()
    signal muteRepositoryAlerts()
    signal hideRepository()

    // The snooze choices at the row (the S key), or Unsnooze when snoozed.
    function openSnoozeMenu() {
        if (row.snoozed)
            row.unsnooze()
        else
            snoozeMenu.createObject(row).popup(row, Theme.px(44), row.height / 2)
    }

    implicitWidth: Theme.px(400)
    implicitHeight: Math.max(content.implicitHeight, Theme.px(22)) + Theme.px(16)

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: row.open()

    HoverHandler { id: hover }

    // The row proper: a plain area that opens the thread; the right button
    // opens the menu where it was pressed.
    Rectangle {
        objectName: "rowButton"
        anchors.fill: parent
        color: row.highlighted ? Theme.withAlpha(Theme.accent, 0.15)
                               : row.unread ? Theme.withAlpha(Theme.accent, 0.05) : "transparent"
        Accessible.ignored: true
        signal clicked()
        onClicked: row.open()
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onClicked: mouse => {
                if (mouse.button === Qt.RightButton)
                    contextMenu.createObject(row).popup(row, mouse.x, mouse.y)
                else
                    parent.clicked()
            }
        }
    }

    Rectangle {
        objectName: "subjectIcon"
        id: subjectIcon
        anchors.left: parent.left
        anchors.leftMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.px(22)
        height: Theme.px(22)
        radius: Theme.px(11)
        color: Theme.withAlpha(row.tintColor, row.unread ? 0.25 : 0.15)
        Accessible.ignored: true
        SymbolIcon {
            anchors.centerIn: parent
            symbol: row.iconName
            color: row.tintColor
            size: 12
        }
    }

    Column {
        id: content
        anchors.left: subjectIcon.right
        anchors.leftMargin: Theme.px(10)
        anchors.right: parent.right
        // The unread dot's room and the gap before it.
        anchors.rightMargin: Theme.px(12 + 8 + 10 + 8 + 10)
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.px(2)
        Text {
            objectName: "titleText"
            width: parent.width
            text: row.title
            font.pixelSize: Theme.px(13)
            font.weight: row.unread ? Font.Bold : Font.DemiBold
            color: Theme.primary
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
        Text {
            objectName: "metaText"
            width: parent.width
            text: row.metaLine
            font.pixelSize: Theme.px(11)
            font.weight: row.unread ? Font.Medium : Font.Normal
            color: Theme.secondary
            maximumLineCount: 1
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
    }

    Rectangle {
        objectName: "unreadDot"
        anchors.right: parent.right
        anchors.rightMargin: Theme.px(12)
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.px(8)
        height: Theme.px(8)
        radius: Theme.px(4)
        color: Theme.accent
        visible: row.unread && !(row.showHoverActions && row.isHovering)
        Accessible.role: Accessible.Indicator
        //: An adjective: the thread has not been read
        Accessible.name: qsTr("Unread")
    }

    // Hover buttons, over the trailing edge of the row, made when the
    // pointer first comes: a list opens without them.
    property bool hoveredOnce: false
    onIsHoveringChanged: if (isHovering) hoveredOnce = true
    Loader {
        active: row.showHoverActions && row.hoveredOnce
        anchors.right: parent.right
        anchors.rightMargin: Theme.px(8)
        anchors.verticalCenter: parent.verticalCenter
        sourceComponent: Row {
            objectName: "hoverActions"
            spacing: Theme.px(8)
            opacity: row.isHovering ? 1 : 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }

            HoverButton {
                objectName: "markReadButton"
                symbol: row.unread ? "envelope.open" : "checkmark.circle"
                iconColor: row.unread ? Theme.primary : Theme.green
                //: A command: mark the thread as read
                tip: row.unread ? qsTr("Mark Read (R)") : qsTr("Already Read")
                active: row.unread
                onClicked: row.markReadToggle()
            }
            HoverButton {
                objectName: "muteButton"
                symbol: row.muted ? "bell" : "bell.slash"
                iconColor: Theme.primary
                tip: row.muted
                     //: A command: alert for the thread again
                     ? qsTr("Unmute (M)")
                     //: A command: no more alerts for the thread
                     : qsTr("Mute (M)")
                onClicked: row.muteToggle()
            }
            HoverButton {
                objectName: "doneButton"
                visible: row.canMarkDone
                symbol: "checkmark"
                iconColor: Theme.primary
                //: A command: mark the thread as done, which takes it off the list
                tip: qsTr("Done (D)")
                onClicked: row.markDone()
            }
        }
    }

    // Built when asked for: a menu in every row would weigh on every list.
    Component {
        id: contextMenu
        PopupMenu {
            objectName: "rowMenu"
            onClosed: destroy()
            //: A command: open the thread in the browser
            MenuEntry { text: qsTr("Open"); onTriggered: row.open() }
            MenuEntry { text: qsTr("Mark as Read"); enabled: row.unread; onTriggered: row.markReadToggle() }
            MenuEntry {
                text: row.muted
                      //: A command: alert for the thread again
                      ? qsTr("Unmute")
                      //: A command: no more alerts for the thread
                      : qsTr("Mute")
                onTriggered: row.muteToggle()
            }
            MenuEntry { text: qsTr("Mark as Done"); enabled: row.canMarkDone; onTriggered: row.markDone() }
            // Rules and snoozes.
            MenuLine {}
            MenuEntry { text: row.snoozed ? qsTr("Unsnooze") : qsTr("Snooze\u2026"); onTriggered: row.openSnoozeMenu() }
            MenuEntry { text: qsTr("Mute alerts for this repository"); onTriggered: row.muteRepositoryAlerts() }
            MenuEntry { text: qsTr("Hide this repository"); onTriggered: row.hideRepository() }
        }
    }

    Component {
        id: snoozeMenu
        PopupMenu {
            objectName: "snoozeMenu"
            onClosed: destroy()
            MenuEntry { text: qsTr("For 1 Hour"); onTriggered: row.snooze(0) }
            MenuEntry { text: qsTr("Until Tomorrow Morning"); onTriggered: row.snooze(1) }
            MenuEntry { text: qsTr("Until Next Week"); onTriggered: row.snooze(2) }
            MenuEntry { text: qsTr("Until Updated"); onTriggered: row.snooze(3) }
        }
    }
}
