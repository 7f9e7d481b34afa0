import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quillfen
import "ThreadKeys.js" as ThreadKeys

// The drop-down panel: the store's own search and unread filter, the error
// banner, one of three middle areas, and the footer.
Rectangle {
    id: panel
    required property NotificationsStore store
    signal openWindowRequested()
    signal openSettingsRequested()
    signal closeRequested()

    readonly property alias viewModel: viewModel
    readonly property alias searchField: searchField
    readonly property alias list: list

    color: Theme.controlBackground
    implicitWidth: Theme.px(420)
    // Escape from wherever the focus is in the panel.
    Keys.onEscapePressed: panel.closeRequested()
    // One height whatever the middle area shows, so the window never
    // changes size: the search row, a list of the full height, the footer.
    implicitHeight: Theme.px(10) + searchRow.implicitHeight + Theme.px(8) + 1 + listHeight + 1
                    + Theme.px(16) + footer.implicitHeight
    readonly property int listHeight: Theme.px(472)

    PanelViewModel {
        id: viewModel
        store: panel.store
    }

    // Ages move on while the panel is open, and are fresh when it opens.
    Timer {
        interval: 60000
        repeat: true
        triggeredOnStart: true
        running: panel.Window.window !== null && panel.Window.window.visible
        onTriggered: viewModel.rows.refreshAges()
    }

    // Called by the window each time it is shown.
    function prepare() {
        panel.store.recheckToken()
        searchField.forceActiveFocus()
        list.currentIndex = -1
    }

    function openCurrent() {
        if (list.currentItem)
            panel.store.open(list.currentItem.threadId)
    }

    ColumnLayout {
        id: layout
        anchors.fill: parent
        spacing: 0

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.px(8)

            RowLayout {
                id: searchRow
                Layout.fillWidth: true
                Layout.leftMargin: Theme.px(12)
                Layout.rightMargin: Theme.px(12)
                Layout.topMargin: Theme.px(10)
                spacing: Theme.px(10)

                TextField {
                    id: searchField
                    objectName: "searchField"
                    Layout.fillWidth: true
                    placeholderText: qsTr("Search\u2026")
                    text: panel.store.searchText
                    onTextEdited: panel.store.searchText = text
                    Accessible.name: qsTr("Search notifications")
                    Keys.onDownPressed: {
                        if (list.count > 0) {
                            list.currentIndex = 0
                            list.forceActiveFocus()
                        }
                    }
                    Keys.onReturnPressed: panel.openCurrent()
                }

                IconButton {
                    objectName: "markAllReadButton"
                    visible: panel.store.tokenStatus === TokenState.Stored
                    enabled: panel.store.unreadCount > 0
                    onClicked: panel.store.markAllAsRead()
                    symbol: "checkmark"
                    tip: qsTr("Mark All as Read")
                }

                Button {
                    id: unreadToggle
                    objectName: "unreadToggle"
                    checkable: true
                    checked: panel.store.unreadOnly
                    onToggled: panel.store.unreadOnly = checked
                    Accessible.name: qsTr("Unread only")
                    Accessible.onPressAction: { toggle(); toggled() }
                    Accessible.onToggleAction: { toggle(); toggled() }
                    contentItem: Row {
                        spacing: Theme.px(4)
                        SymbolIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            symbol: panel.store.unreadOnly ? "line.3.horizontal.decrease.circle.fill"
                                                           : "line.3.horizontal.decrease.circle"
                            color: panel.store.unreadOnly ? Theme.blue : Theme.secondary
                            size: 14
                        }
                        Label {
                            anchors.verticalCenter: parent.verticalCenter
                            //: A filter: show only the threads not yet read
                            text: qsTr("Unread")
                            font.pixelSize: Theme.px(11)
                        }
                    }
                }
            }

            ErrorBanner {
                objectName: "errorBanner"
                Layout.fillWidth: true
                visible: panel.store.hasError
                text: panel.store.lastError
                maximumLineCount: 2
                onDismissed: panel.store.dismissError()
            }

            KeyringLockedBanner {
                objectName: "keyringLocked"
                Layout.fillWidth: true
                visible: panel.store.tokenStatus === TokenState.Locked
                onUnlockRequested: panel.store.unlockKeyring()
            }
        }

        Divider { Layout.fillWidth: true; Layout.topMargin: panel.store.hasError ? 0 : Theme.px(8) }

        // Middle area.
        EmptyState {
            objectName: "waiting"
            visible: viewModel.middleArea === PanelViewModel.Waiting
            Layout.fillWidth: true
            Layout.fillHeight: true
            symbol: "key.fill"
            symbolColor: Theme.withAlpha(Theme.secondary, 0.3)
            heading: qsTr("Waiting for the keyring\u2026")
            detail: qsTr("Unlock your keyring if your desktop asks for it")
        }

        EmptyState {
            objectName: "tokenRequired"
            visible: viewModel.middleArea === PanelViewModel.TokenRequired
            Layout.fillWidth: true
            Layout.fillHeight: true
            symbol: "key.fill"
            symbolColor: Theme.withAlpha(Theme.secondary, 0.5)
            heading: qsTr("GitHub Token Required")
            detail: qsTr("Add your GitHub token in Settings to view notifications")
            actionText: qsTr("Open Settings")
            onActionTriggered: panel.openSettingsRequested()
        }

        EmptyState {
            objectName: "allCaughtUp"
            visible: viewModel.middleArea === PanelViewModel.AllCaughtUp
            Layout.fillWidth: true
            Layout.fillHeight: true
            symbol: "checkmark.circle.fill"
            symbolColor: Theme.withAlpha(Theme.green, 0.7)
            heading: qsTr("All Caught Up!")
            detail: qsTr("You have no notifications")
        }

        ListView {
            id: list
            objectName: "panelList"
            visible: viewModel.middleArea === PanelViewModel.List
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumWidth: Theme.px(420)
            clip: true
            topMargin: Theme.px(6)
            bottomMargin: Theme.px(6)
            model: viewModel.rows
            currentIndex: -1
            keyNavigationEnabled: true
            activeFocusOnTab: true
            onActiveFocusChanged: if (activeFocus && currentIndex < 0 && count > 0) currentIndex = 0
            highlightFollowsCurrentItem: false
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded }
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Notifications")

            Keys.onPressed: event => {
                if (list.currentItem)
                    event.accepted = ThreadKeys.handle(event, panel.store, list.currentItem.threadId, list.currentItem.unread, list.currentItem)
            }
            Keys.onUpPressed: event => {
                if (list.currentIndex <= 0) {
                    list.currentIndex = -1
                    searchField.forceActiveFocus()
                } else {
                    list.decrementCurrentIndex()
                }
            }

            delegate: ThreadDelegate {
                store: panel.store
                rowInset: Theme.px(4)
                highlighted: list.activeFocus && list.currentIndex === index
            }
        }

        Divider { Layout.fillWidth: true }

        RowLayout {
            id: footer
            objectName: "footer"
            Layout.fillWidth: true
            Layout.leftMargin: Theme.px(12)
            Layout.rightMargin: Theme.px(12)
            Layout.topMargin: Theme.px(8)
            Layout.bottomMargin: Theme.px(8)

            LabeledButton {
                objectName: "settingsButton"
                symbol: "gearshape"
                text: qsTr("Settings")
                onClicked: panel.openSettingsRequested()
            }
            LabeledButton {
                objectName: "openWindowButton"
                flat: true
                symbol: "sidebar.right"
                text: qsTr("Open Window")
                onClicked: panel.openWindowRequested()
            }
            Item { Layout.fillWidth: true }
            Label {
                objectName: "countdownText"
                visible: viewModel.showCountdown
                text: qsTr("Refresh in %1").arg(viewModel.countdownText)
                font.pixelSize: Theme.px(11)
                color: Theme.secondary
            }
            LabeledButton {
                objectName: "refreshButton"
                flat: true
                enabled: !panel.store.isRefreshing
                busy: panel.store.isRefreshing
                symbol: "arrow.clockwise"
                text: qsTr("Refresh")
                onClicked: panel.store.requestRefresh()
            }
        }
    }
}
