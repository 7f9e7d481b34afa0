import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quillfen
import "ThreadKeys.js" as ThreadKeys

// The main window's list: its own search, unread, reason, state and bot filters, and the
// threads newest first or grouped by repository under pinned headers.
Rectangle {
    id: view
    required property NotificationsStore store
    readonly property alias listModel: listModel
    readonly property alias list: list
    signal openSettingsRequested()

    color: Theme.controlBackground
    implicitWidth: Theme.px(720)
    implicitHeight: Theme.px(520)

    ControlsPalette { target: view }

    NotificationsListModel {
        id: listModel
        store: view.store
    }

    // Ages move on while the window is open, and are fresh when it opens.
    Timer {
        interval: 60000
        repeat: true
        triggeredOnStart: true
        running: view.Window.window !== null && view.Window.window.visible
        onTriggered: listModel.rows.refreshAges()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            objectName: "toolbar"
            Layout.fillWidth: true
            implicitHeight: toolbarRow.implicitHeight + Theme.px(16)
            color: Theme.withAlpha(Theme.primary, 0.03)

            RowLayout {
                id: toolbarRow
                anchors.fill: parent
                anchors.leftMargin: Theme.px(12)
                anchors.rightMargin: Theme.px(12)
                anchors.topMargin: Theme.px(8)
                anchors.bottomMargin: Theme.px(8)
                spacing: Theme.px(8)

                TextField {
                    objectName: "searchField"
                    // Gives way first, and the menus' labels elide, so every
                    // button stays in reach at the window's minimum width.
                    Layout.fillWidth: true
                    Layout.minimumWidth: Theme.px(100)
                    Layout.maximumWidth: Theme.px(260)
                    placeholderText: qsTr("Search\u2026")
                    text: listModel.searchText
                    onTextEdited: listModel.searchText = text
                    Accessible.name: qsTr("Search notifications")
                }
                PaletteSwitch {
                    objectName: "unreadSwitch"
                    //: A filter: show only the threads not yet read
                    text: qsTr("Unread")
                    checked: listModel.showUnreadOnly
                    onToggled: listModel.showUnreadOnly = checked
                }
                ToolButton {
                    id: reasonButton
                    objectName: "reasonMenuButton"
                    Accessible.name: qsTr("Reason: %1").arg(listModel.reasonLabel)
                    Accessible.onPressAction: clicked()
                    Keys.onReturnPressed: clicked()
                    contentItem: Row {
                        spacing: Theme.px(6)
                        SymbolIcon { symbol: "line.3.horizontal.decrease.circle"; size: 14; anchors.verticalCenter: parent.verticalCenter }
                        Label {
                            text: listModel.reasonLabel
                            width: Math.min(implicitWidth, Theme.px(110))
                            elide: Text.ElideRight
                            anchors.verticalCenter: parent.verticalCenter
                        }
                    }
                    onClicked: reasonMenu.popup(reasonButton, 0, reasonButton.height)

                    Menu {
                        id: reasonMenu
                        MenuItem { text: qsTr("Any Reason"); onTriggered: listModel.selectedReason = -1 }
                        MenuSeparator {}
                        Repeater {
                            model: listModel.reasonNames
                            delegate: MenuItem {
                                required property int index
                                required property string modelData
                                text: modelData
                                onTriggered: listModel.selectedReason = index
                            }
                        }
                    }
                }
                // The subjects' state, and whether bots' activity shows.
                ToolButton {
                    id: stateButton
                    objectName: "stateMenuButton"
                    Accessible.name: qsTr("State: %1").arg(listModel.stateLabel)
                    Accessible.onPressAction: clicked()
                    Keys.onReturnPressed: clicked()
                    contentItem: Label {
                        text: listModel.stateLabel
                        width: Math.min(implicitWidth, Theme.px(90))
                        elide: Text.ElideRight
                    }
                    onClicked: stateMenu.popup(stateButton, 0, stateButton.height)

                    Menu {
                        id: stateMenu
                        MenuItem { text: qsTr("Any State"); onTriggered: listModel.selectedState = -1 }
                        MenuSeparator {}
                        Repeater {
                            model: listModel.stateNames
                            delegate: MenuItem {
                                required property int index
                                required property string modelData
                                text: modelData
                                onTriggered: listModel.selectedState = index
                            }
                        }
                        MenuSeparator {}
                        MenuItem {
                            objectName: "hideBotsItem"
                            text: qsTr("Hide bot activity")
                            checkable: true
                            checked: listModel.hideBotActivity
                            onTriggered: listModel.hideBotActivity = checked
                        }
                    }
                }
                // Several accounts: the list of one, or of all.
                ToolButton {
                    id: accountButton
                    objectName: "accountMenuButton"
                    visible: listModel.accountNames.length > 1
                    Accessible.name: qsTr("Account: %1").arg(listModel.accountLabel)
                    Accessible.onPressAction: clicked()
                    Keys.onReturnPressed: clicked()
                    contentItem: Label {
                        text: listModel.accountLabel
                        width: Math.min(implicitWidth, Theme.px(120))
                        elide: Text.ElideRight
                    }
                    onClicked: accountMenu.popup(accountButton, 0, accountButton.height)

                    Menu {
                        id: accountMenu
                        MenuItem { text: qsTr("All Accounts"); onTriggered: listModel.selectedAccount = -1 }
                        MenuSeparator {}
                        Repeater {
                            model: listModel.accountNames
                            delegate: MenuItem {
                                required property int index
                                required property string modelData
                                text: modelData
                                onTriggered: listModel.selectedAccount = index
                            }
                        }
                    }
                }
                ButtonBase {
                    id: groupToggle
                    objectName: "groupToggle"
                    checkable: true
                    checked: listModel.groupByRepo
                    onToggled: listModel.groupByRepo = !listModel.groupByRepo
                    Accessible.name: listModel.groupByRepo ? qsTr("Group by Repository") : qsTr("Flat List")
                    Tip { text: listModel.groupByRepo ? qsTr("Group by Repository") : qsTr("Flat List"); wanted: groupToggle.hovered }
                    contentItem: SymbolIcon { symbol: listModel.groupByRepo ? "square.grid.2x2" : "list.bullet"; size: 14; color: groupToggle.foreground }
                }
                Item { Layout.fillWidth: true }
                LabeledButton {
                    objectName: "refreshButton"
                    flat: true
                    iconOnly: true
                    enabled: !view.store.isRefreshing
                    busy: view.store.isRefreshing
                    symbol: "arrow.clockwise"
                    text: qsTr("Refresh")
                    onClicked: view.store.requestRefresh()
                }
                IconButton {
                    objectName: "markAllReadButton"
                    visible: view.store.tokenStatus === TokenState.Stored
                    enabled: view.store.unreadCount > 0
                    onClicked: listModel.markAllAsRead()
                    symbol: "checkmark"
                    tip: qsTr("Mark All as Read")
                }
                // The way to Settings where the desktop has no tray.
                IconButton {
                    objectName: "settingsButton"
                    onClicked: view.openSettingsRequested()
                    symbol: "gearshape"
                    tip: qsTr("Settings")
                }
            }
        }

        // What rules and snoozes keep out of the list, on demand.
        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: Theme.px(12)
            Layout.rightMargin: Theme.px(12)
            spacing: Theme.px(8)
            PaletteSwitch {
                objectName: "showHiddenSwitch"
                text: qsTr("Show hidden")
                checked: listModel.showHidden
                onToggled: listModel.showHidden = checked
            }
            PaletteSwitch {
                objectName: "snoozedSwitch"
                text: qsTr("Snoozed")
                checked: listModel.showSnoozed
                onToggled: listModel.showSnoozed = checked
            }
            Item { Layout.fillWidth: true }
        }

        ErrorBanner {
            objectName: "errorBanner"
            Layout.fillWidth: true
            visible: view.store.hasError
            text: view.store.lastError
            maximumLineCount: 1
            onDismissed: view.store.dismissError()
        }

        KeyringLockedBanner {
            objectName: "keyringLocked"
            Layout.fillWidth: true
            visible: view.store.tokenStatus === TokenState.Locked
            onUnlockRequested: view.store.unlockKeyring()
        }

        Divider { Layout.fillWidth: true }

        Label {
            objectName: "waitingForKeychain"
            visible: view.store.tokenStatus === TokenState.Checking || view.store.tokenStatus === TokenState.Unavailable
            Layout.fillWidth: true
            Layout.fillHeight: visible
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: qsTr("Waiting for the keyring\u2026")
            color: Theme.secondary
        }

        ListView {
            id: list
            objectName: "windowList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: listModel.rows
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Notifications")
            currentIndex: -1
            keyNavigationEnabled: true
            highlightFollowsCurrentItem: false
            activeFocusOnTab: true
            onActiveFocusChanged: if (activeFocus && currentIndex < 0 && count > 0) currentIndex = 0
            Keys.onPressed: event => {
                if (list.currentItem && !list.currentItem.isPlaceholder)
                    event.accepted = ThreadKeys.handle(event, view.store, list.currentItem.threadId, list.currentItem.unread, list.currentItem)
            }

            section.property: listModel.groupByRepo ? "section" : ""
            section.criteria: ViewSection.FullString
            section.labelPositioning: ViewSection.InlineLabels | ViewSection.CurrentLabelAtStart
            section.delegate: GroupHeader {
                width: ListView.view.width
                count: listModel.groupCounts[section] || 0
                collapsed: listModel.collapsedRepos.indexOf(section) >= 0
                onToggled: listModel.toggleCollapsed(section)
                onMarkReadRequested: listModel.markRepositoryAsRead(section)
            }

            add: Transition { NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 200; easing.type: Easing.InOutQuad } }
            remove: Transition { NumberAnimation { property: "opacity"; to: 0; duration: 200; easing.type: Easing.InOutQuad } }
            displaced: Transition { NumberAnimation { property: "y"; duration: 200; easing.type: Easing.InOutQuad } }

            delegate: ThreadDelegate {
                store: view.store
                highlighted: list.activeFocus && list.currentIndex === index
            }
        }
    }
}
