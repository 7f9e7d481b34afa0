import QtQuick
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
    implicitHeight: Theme.px(10) + searchRow.height + Theme.px(8) + 1 + listHeight + 1 + Theme.px(16) + footer.height
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

    // From the top: the search row and the banners, a divider, the middle
    // area, a divider and the footer. The banners take their room from the
    // middle area.
    Column {
        id: top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        topPadding: Theme.px(10)
        spacing: Theme.px(8)

        Item {
            id: searchRow
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: Theme.px(12)
            anchors.rightMargin: Theme.px(12)
            height: Math.max(searchField.height, unreadToggle.implicitHeight)

            SearchField {
                id: searchField
                objectName: "searchField"
                anchors.left: parent.left
                anchors.right: searchButtons.left
                anchors.rightMargin: Theme.px(10)
                anchors.verticalCenter: parent.verticalCenter
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

            Row {
                id: searchButtons
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: Theme.px(10)

                IconButton {
                    objectName: "markAllReadButton"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: panel.store.tokenStatus === TokenState.Stored
                    enabled: panel.store.unreadCount > 0
                    onClicked: panel.store.markAllAsRead()
                    symbol: "checkmark"
                    tip: qsTr("Mark All as Read")
                }

                ButtonBase {
                    id: unreadToggle
                    objectName: "unreadToggle"
                    anchors.verticalCenter: parent.verticalCenter
                    implicitHeight: Math.max(Theme.px(28), contentItem.implicitHeight + topPadding + bottomPadding)
                    checkable: true
                    checked: panel.store.unreadOnly
                    onToggled: panel.store.unreadOnly = !panel.store.unreadOnly
                    Accessible.name: qsTr("Unread only")
                    contentItem: Row {
                        spacing: Theme.px(4)
                        SymbolIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            symbol: unreadToggle.checked ? "line.3.horizontal.decrease.circle.fill"
                                                         : "line.3.horizontal.decrease.circle"
                            color: unreadToggle.checked ? Theme.accent : unreadToggle.foreground
                            size: 14
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            //: A filter: show only the threads not yet read
                            text: qsTr("Unread")
                            font.pixelSize: Theme.px(11)
                            color: unreadToggle.foreground
                        }
                    }
                }
            }
        }

        ErrorBanner {
            objectName: "errorBanner"
            width: parent.width
            visible: panel.store.hasError
            text: panel.store.lastError
            maximumLineCount: 2
            onDismissed: panel.store.dismissError()
        }

        KeyringLockedBanner {
            objectName: "keyringLocked"
            width: parent.width
            visible: panel.store.tokenStatus === TokenState.Locked
            onUnlockRequested: panel.store.unlockKeyring()
        }
    }

    Divider {
        id: topDivider
        anchors.top: top.bottom
        anchors.topMargin: panel.store.hasError ? 0 : Theme.px(8)
    }

    // Middle area.
    Item {
        id: middle
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: topDivider.bottom
        anchors.bottom: bottomDivider.top

        // Only the area shown is made: the list opens without the others.
        Loader {
            anchors.fill: parent
            active: viewModel.middleArea === PanelViewModel.Waiting
            sourceComponent: EmptyState {
                objectName: "waiting"
                symbol: "key.fill"
                symbolColor: Theme.withAlpha(Theme.secondary, 0.3)
                heading: qsTr("Waiting for the keyring\u2026")
                detail: qsTr("Unlock your keyring if your desktop asks for it")
            }
        }

        Loader {
            id: tokenRequired
            anchors.fill: parent
            active: viewModel.middleArea === PanelViewModel.TokenRequired
            sourceComponent: EmptyState {
                objectName: "tokenRequired"
                symbol: "key.fill"
                symbolColor: Theme.withAlpha(Theme.secondary, 0.5)
                heading: qsTr("GitHub Token Required")
                detail: qsTr("Add your GitHub token in Settings to view notifications")
                actionText: qsTr("Open Settings")
            }
        }
        Connections {
            target: tokenRequired.item
            ignoreUnknownSignals: true
            function onActionTriggered() { panel.openSettingsRequested() }
        }

        Loader {
            anchors.fill: parent
            active: viewModel.middleArea === PanelViewModel.AllCaughtUp
            sourceComponent: EmptyState {
                objectName: "allCaughtUp"
                symbol: "checkmark.circle.fill"
                symbolColor: Theme.withAlpha(Theme.green, 0.7)
                heading: qsTr("All Caught Up!")
                detail: qsTr("You have no notifications")
            }
        }

        ListView {
            id: list
            objectName: "panelList"
            visible: viewModel.middleArea === PanelViewModel.List
            anchors.fill: parent
            clip: true
            // Rows are made as they scroll in: the first open makes only
            // those it shows.
            cacheBuffer: 0
            topMargin: Theme.px(6)
            bottomMargin: Theme.px(6)
            model: viewModel.rows
            currentIndex: -1
            keyNavigationEnabled: true
            activeFocusOnTab: true
            onActiveFocusChanged: if (activeFocus && currentIndex < 0 && count > 0) currentIndex = 0
            highlightFollowsCurrentItem: false
            boundsBehavior: Flickable.StopAtBounds
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
        ScrollBarLine {
            target: list
            visible: list.visible && needed
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.right: parent.right
        }
    }

    Divider {
        id: bottomDivider
        anchors.bottom: footer.top
        anchors.bottomMargin: Theme.px(8)
    }

    Item {
        id: footer
        objectName: "footer"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.px(12)
        anchors.rightMargin: Theme.px(12)
        anchors.bottomMargin: Theme.px(8)
        height: Math.max(footerStart.implicitHeight, footerEnd.implicitHeight)

        Row {
            id: footerStart
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.px(6)
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
        }
        Row {
            id: footerEnd
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.px(6)
            Text {
                objectName: "countdownText"
                anchors.verticalCenter: parent.verticalCenter
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
