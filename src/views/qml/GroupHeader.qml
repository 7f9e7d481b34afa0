import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A repository group's header: chevron, key, a button that marks the
// repository read, and the item count. The whole row toggles the group; its
// opaque background hides rows scrolling beneath.
AbstractButton {
    id: header
    required property string section
    property int count: 0
    property bool collapsed: false
    signal toggled()
    signal markReadRequested()

    objectName: "groupHeader:" + section
    leftPadding: Theme.px(12)
    rightPadding: Theme.px(12)
    topPadding: Theme.px(6)
    bottomPadding: Theme.px(6)
    onClicked: header.toggled()
    Accessible.role: Accessible.Button
    // Qt Quick 6.4 has no expanded state to expose: the name says it.
    Accessible.name: (collapsed
                      //: A repository group's header read aloud: the repository, its number of threads, folded
                      ? qsTr("%1, %n items, collapsed", "", count)
                      //: A repository group's header read aloud: the repository, its number of threads, unfolded
                      : qsTr("%1, %n items, expanded", "", count)).arg(section)
    Accessible.onPressAction: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    // The key the mark-read button's tooltip would name on a row.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_R && event.modifiers === Qt.NoModifier) {
            header.markReadRequested()
            event.accepted = true
        }
    }

    background: Rectangle {
        color: header.visualFocus ? Qt.tint(Theme.controlBackground, Theme.withAlpha(Theme.accent, 0.15))
                                  : Theme.controlBackground
    }
    contentItem: RowLayout {
        id: row
        SymbolIcon {
            Layout.preferredWidth: Theme.px(12)
            symbol: header.collapsed ? "chevron.right" : "chevron.down"
            color: Theme.secondary
            size: 10
        }
        Label {
            text: header.section
            font.pixelSize: Theme.px(12)
            font.weight: Font.DemiBold
            color: Theme.secondary
            textFormat: Text.PlainText
        }
        Item { Layout.fillWidth: true }
        HoverButton {
            objectName: "markRepositoryRead"
            symbol: "checkmark"
            iconColor: Theme.secondary
            tip: qsTr("Mark %1 as Read (R)").arg(header.section)
            onClicked: header.markReadRequested()
        }
        Label {
            objectName: "groupCount"
            text: header.count
            font.pixelSize: Theme.px(11)
            font.weight: Font.Medium
            color: Theme.secondary
            leftPadding: Theme.px(6)
            rightPadding: Theme.px(6)
            topPadding: Theme.px(2)
            bottomPadding: Theme.px(2)
            background: Rectangle { radius: Theme.px(4); color: Theme.withAlpha(Theme.secondary, 0.10) }
        }
    }
}
