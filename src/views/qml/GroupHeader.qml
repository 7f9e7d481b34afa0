import QtQuick

// A repository group's header: chevron, key, a button that marks the
// repository read, and the item count. The whole row toggles the group; its
// opaque background hides rows scrolling beneath.
ButtonBase {
    id: header
    required property string section
    property int count: 0
    property bool collapsed: false
    signal markReadRequested()

    objectName: "groupHeader:" + section
    flat: true
    radius: 0
    leftPadding: Theme.px(12)
    rightPadding: Theme.px(12)
    topPadding: Theme.px(6)
    bottomPadding: Theme.px(6)
    // Not checkable: toggled() is this header's own, the group folding or unfolding.
    onClicked: header.toggled()
    // Qt Quick 6.4 has no expanded state to expose: the name says it.
    Accessible.name: (collapsed
                      //: A repository group's header read aloud: the repository, its number of threads, folded
                      ? qsTr("%1, %n items, collapsed", "", count)
                      //: A repository group's header read aloud: the repository, its number of threads, unfolded
                      : qsTr("%1, %n items, expanded", "", count)).arg(section)
    // The key the mark-read button's tooltip would name on a row.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_R && event.modifiers === Qt.NoModifier) {
            header.markReadRequested()
            event.accepted = true
        }
    }

    Rectangle {
        z: -1
        anchors.fill: parent
        color: header.visualFocus ? Qt.tint(Theme.controlBackground, Theme.withAlpha(Theme.accent, 0.15))
                                  : Theme.controlBackground
    }

    contentItem: Item {
        implicitWidth: chevron.width + name.implicitWidth + markRead.implicitWidth + countBox.width + Theme.px(24)
        implicitHeight: Math.max(markRead.implicitHeight, countBox.height, name.implicitHeight)
        width: header.width - header.leftPadding - header.rightPadding
        height: implicitHeight

        SymbolIcon {
            id: chevron
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            symbol: header.collapsed ? "chevron.right" : "chevron.down"
            color: Theme.secondary
            size: 10
        }
        Text {
            id: name
            anchors.left: chevron.right
            anchors.leftMargin: Theme.px(6)
            anchors.verticalCenter: parent.verticalCenter
            text: header.section
            font.pixelSize: Theme.px(12)
            font.weight: Font.DemiBold
            color: Theme.secondary
            textFormat: Text.PlainText
        }
        HoverButton {
            id: markRead
            objectName: "markRepositoryRead"
            anchors.right: countBox.left
            anchors.rightMargin: Theme.px(6)
            anchors.verticalCenter: parent.verticalCenter
            symbol: "checkmark"
            iconColor: Theme.secondary
            tip: qsTr("Mark %1 as Read (R)").arg(header.section)
            onClicked: header.markReadRequested()
        }
        Rectangle {
            id: countBox
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: countText.implicitWidth + Theme.px(12)
            height: countText.implicitHeight + Theme.px(4)
            radius: Theme.px(4)
            color: Theme.withAlpha(Theme.secondary, 0.10)
            Text {
                id: countText
                objectName: "groupCount"
                anchors.centerIn: parent
                text: header.count
                font.pixelSize: Theme.px(11)
                font.weight: Font.Medium
                color: Theme.secondary
            }
        }
    }
}
