import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quillfen

// The settings window's content: one model, four sections.
Rectangle {
    id: view
    readonly property alias viewModel: settings
    color: Theme.controlBackground
    implicitWidth: Theme.px(600)
    implicitHeight: Theme.px(500)

    SettingsViewModel { id: settings }
    ControlsPalette { target: view }

    function prepare() { settings.checkExistingToken() }

    readonly property var intervals: [
        { label: qsTr("1 minute"), value: 60 }, { label: qsTr("2 minutes"), value: 120 }, { label: qsTr("5 minutes"), value: 300 },
        { label: qsTr("10 minutes"), value: 600 }, { label: qsTr("15 minutes"), value: 900 }
    ]
    readonly property var channels: [ { label: qsTr("Stable"), value: "stable" }, { label: qsTr("Beta"), value: "beta" } ]

    // Tab, a screen reader or voice control may focus a control below the
    // fold: bring it into view.
    function reveal(item) {
        const flick = scroll.contentItem
        if (!item || !flick || !sections.contains(sections.mapFromItem(item, 0, 0)))
            return
        const top = item.mapToItem(flick.contentItem, 0, 0).y
        if (top < flick.contentY)
            flick.contentY = Math.max(0, top - 12)
        else if (top + item.height > flick.contentY + flick.height)
            flick.contentY = Math.min(flick.contentHeight - flick.height, top + item.height - flick.height + 12)
    }
    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() { view.reveal(view.Window.activeFocusItem) }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: header.implicitHeight + Theme.px(40)
            color: Theme.controlBackground
            Label {
                id: header
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                anchors.leftMargin: Theme.px(20)
                text: qsTr("Settings")
                font.pixelSize: Theme.px(20)
                font.weight: Font.DemiBold
            }
        }
        Divider { Layout.fillWidth: true }

        ScrollView {
            id: scroll
            objectName: "settingsScroll"
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            contentHeight: sections.implicitHeight + Theme.px(40)
            ScrollBar.vertical.policy: ScrollBar.AsNeeded

            ColumnLayout {
                id: sections
                width: scroll.availableWidth - Theme.px(40)
                x: Theme.px(20)
                y: Theme.px(20)
                spacing: Theme.px(24)

                // Auto-Refresh
                ColumnLayout {
                    spacing: Theme.px(12)
                    Layout.fillWidth: true
                    SectionHeader { symbol: "arrow.clockwise"; title: qsTr("Auto-Refresh"); caption: qsTr("Automatically refresh notifications in the background.") }
                    RowLayout {
                        spacing: Theme.px(12)
                        Label { text: qsTr("Refresh interval:"); font.pixelSize: Theme.px(12) }
                        ChoiceBox {
                            objectName: "intervalPicker"
                            Layout.preferredWidth: Theme.px(140)
                            choices: view.intervals
                            value: settings.refreshInterval
                            onActivated: index => settings.refreshInterval = view.intervals[index].value
                            Accessible.name: qsTr("Refresh interval")
                        }
                    }
                    PaletteCheckBox {
                        objectName: "startAtLoginToggle"
                        text: qsTr("Start at login")
                        font.pixelSize: Theme.px(12)
                        checked: settings.startAtLogin
                        onToggled: settings.startAtLogin = checked
                    }
                    PaletteCheckBox {
                        objectName: "participatingToggle"
                        text: qsTr("Only threads I take part in")
                        font.pixelSize: Theme.px(12)
                        checked: settings.participatingOnly
                        onToggled: settings.participatingOnly = checked
                    }
                }
                Divider { Layout.fillWidth: true }

                // Notifications
                ColumnLayout {
                    spacing: Theme.px(12)
                    Layout.fillWidth: true
                    SectionHeader { symbol: "bell.fill"; title: qsTr("Notifications"); caption: qsTr("Get notified when new GitHub notifications arrive.") }
                    PaletteCheckBox {
                        objectName: "notificationsToggle"
                        text: qsTr("Enable notifications")
                        font.pixelSize: Theme.px(12)
                        checked: settings.notificationsEnabled
                        onToggled: settings.notificationsEnabled = checked
                    }
                    PaletteCheckBox {
                        objectName: "soundToggle"
                        text: qsTr("Play sound")
                        font.pixelSize: Theme.px(12)
                        enabled: settings.notificationsEnabled
                        checked: settings.notificationSoundEnabled
                        onToggled: settings.notificationSoundEnabled = checked
                    }
                    RowLayout {
                        objectName: "permissionWarning"
                        visible: settings.notificationPermissionStatus === SettingsViewModel.Denied
                        spacing: Theme.px(6)
                        SymbolIcon { symbol: "exclamationmark.triangle.fill"; color: Theme.orange; size: 12 }
                        Label { text: qsTr("Notifications are disabled in System Settings"); font.pixelSize: Theme.px(11); color: Theme.secondary }
                    }
                    LabeledButton {
                        objectName: "testNotificationButton"
                        enabled: settings.notificationsEnabled
                        onClicked: settings.sendTestNotification()
                        symbol: "bell.badge"
                        text: qsTr("Send Test Notification")
                    }
                }
                Divider { Layout.fillWidth: true }

                // Rules and quiet hours
                QuietSettingsSection {}
                Divider { Layout.fillWidth: true }

                // App Updates
                ColumnLayout {
                    spacing: Theme.px(12)
                    Layout.fillWidth: true
                    SectionHeader { symbol: "arrow.down.circle.fill"; title: qsTr("App Updates"); caption: qsTr("Automatically check for Quillfen updates.") }
                    RowLayout {
                        spacing: Theme.px(12)
                        Label { text: qsTr("Version:"); font.pixelSize: Theme.px(12) }
                        Label { objectName: "versionText"; text: settings.currentVersion + " (" + settings.currentBuild + ")"; font.pixelSize: Theme.px(12); color: Theme.secondary }
                    }
                    PaletteCheckBox {
                        objectName: "automaticUpdatesToggle"
                        text: qsTr("Automatically check for updates")
                        font.pixelSize: Theme.px(12)
                        checked: settings.automaticallyCheckForUpdates
                        onToggled: settings.automaticallyCheckForUpdates = checked
                    }
                    RowLayout {
                        spacing: Theme.px(12)
                        Label { text: qsTr("Update channel:"); font.pixelSize: Theme.px(12) }
                        ChoiceBox {
                            objectName: "channelPicker"
                            Layout.preferredWidth: Theme.px(100)
                            choices: view.channels
                            value: settings.updateChannel
                            onActivated: index => settings.updateChannel = view.channels[index].value
                            Accessible.name: qsTr("Update channel")
                        }
                    }
                    Label { text: qsTr("Beta builds include the latest features but may be less stable."); font.pixelSize: Theme.px(11); color: Theme.secondary }
                    LabeledButton {
                        objectName: "checkUpdatesButton"
                        enabled: !settings.isCheckingForUpdates
                        busy: settings.isCheckingForUpdates
                        onClicked: settings.checkForUpdates()
                        symbol: "arrow.clockwise"
                        text: qsTr("Check for Updates")
                    }
                    RowLayout {
                        objectName: "updateStatus"
                        visible: settings.hasUpdateStatusMessage
                        spacing: Theme.px(6)
                        SymbolIcon {
                            symbol: settings.updateAvailable ? "arrow.down.circle.fill" : "checkmark.circle.fill"
                            color: settings.updateAvailable ? Theme.blue : Theme.green
                            size: 12
                        }
                        Label { objectName: "updateStatusText"; textFormat: Text.PlainText; text: settings.updateStatusMessage; font.pixelSize: Theme.px(11); color: Theme.secondary }
                    }
                }
                Divider { Layout.fillWidth: true }

                // GitHub Personal Access Token
                ColumnLayout {
                    spacing: Theme.px(12)
                    Layout.fillWidth: true
                    SectionHeader { symbol: "key.fill"; title: qsTr("GitHub Personal Access Token"); caption: qsTr("Quillfen needs a GitHub token to fetch your notifications.") }
                    RowLayout {
                        spacing: Theme.px(8)
                        Layout.fillWidth: true
                        SecretField {
                            Layout.fillWidth: true
                            inputName: "tokenField"
                            revealed: settings.showToken
                            text: settings.tokenInput
                            onEdited: text => settings.tokenInput = text
                            // Named after its section.
                            accessibleName: qsTr("GitHub Personal Access Token")
                        }
                        IconButton {
                            objectName: "showTokenButton"
                            symbol: settings.showToken ? "eye.slash" : "eye"
                            iconColor: Theme.primary
                            tip: settings.showToken ? qsTr("Hide token") : qsTr("Show token")
                            onClicked: settings.showToken = !settings.showToken
                        }
                    }
                    RowLayout {
                        objectName: "tokenStatus"
                        visible: settings.hasStatusMessage
                        spacing: Theme.px(6)
                        SymbolIcon {
                            symbol: settings.isSuccess ? "checkmark.circle.fill" : "exclamationmark.triangle.fill"
                            color: settings.isSuccess ? Theme.green : Theme.orange
                            size: 12
                        }
                        Label { objectName: "tokenStatusText"; textFormat: Text.PlainText; text: settings.statusMessage; font.pixelSize: Theme.px(12); color: Theme.secondary }
                    }
                    RowLayout {
                        spacing: Theme.px(12)
                        LabeledButton {
                            objectName: "testConnectionButton"
                            enabled: settings.tokenInput.length > 0 && !settings.isTesting
                            busy: settings.isTesting
                            onClicked: settings.testConnection()
                            symbol: "network"
                            text: qsTr("Test Connection")
                        }
                        LabeledButton {
                            objectName: "saveTokenButton"
                            enabled: settings.tokenInput.length > 0 && !settings.isTesting
                            onClicked: settings.saveToken()
                            symbol: "checkmark"
                            text: qsTr("Save Token")
                        }
                        LabeledButton {
                            objectName: "deleteTokenButton"
                            visible: settings.hasExistingToken
                            flat: true
                            onClicked: settings.deleteToken()
                            symbol: "trash"
                            textColor: Theme.red
                            text: qsTr("Delete Token")
                        }
                    }
                    Shortcut {
                        sequences: ["Ctrl+Return", "Ctrl+Enter"]
                        enabled: settings.tokenInput.length > 0 && !settings.isTesting
                        onActivated: settings.saveToken()
                    }
                    Divider { Layout.fillWidth: true; Layout.topMargin: Theme.px(8) }
                    Rectangle {
                        Layout.fillWidth: true
                        implicitHeight: help.implicitHeight + 24
                        radius: Theme.px(8)
                        color: Qt.darker(Theme.controlBackground, 1.04)
                        ColumnLayout {
                            id: help
                            x: Theme.px(12)
                            y: Theme.px(12)
                            width: parent.width - 24
                            spacing: Theme.px(8)
                            // Signed in to the GitHub CLI, a user needs no token page at all.
                            LabeledButton {
                                objectName: "gitHubCliTokenButton"
                                visible: settings.gitHubCliInstalled
                                enabled: !settings.isTesting
                                busy: settings.isTesting
                                onClicked: settings.useGitHubCliToken()
                                symbol: "key.fill"
                                text: qsTr("Use the GitHub CLI's token")
                            }
                            Label { text: qsTr("How to create a token:"); font.pixelSize: Theme.px(12); font.weight: Font.Medium }
                            ColumnLayout {
                                spacing: Theme.px(4)
                                Layout.fillWidth: true
                                HelpStep { Layout.fillWidth: true; number: 1; text: qsTr("Go to GitHub Settings > Developer settings > Personal access tokens > Tokens (classic)") }
                                HelpStep { Layout.fillWidth: true; number: 2; text: qsTr("Click 'Generate new token (classic)'") }
                                HelpStep { Layout.fillWidth: true; number: 3; text: qsTr("Select scope: notifications (required)") }
                                HelpStep { Layout.fillWidth: true; number: 4; text: qsTr("Copy the token and paste it above") }
                            }
                            Label {
                                objectName: "alertsTurnOnNote"
                                Layout.fillWidth: true
                                wrapMode: Text.Wrap
                                font.pixelSize: Theme.px(11)
                                color: Theme.secondary
                                text: qsTr("Saving your first token turns on desktop notifications for new threads, unless you chose otherwise under Notifications.")
                            }
                            AbstractButton {
                                objectName: "tokenPageLink"
                                Layout.topMargin: Theme.px(4)
                                onClicked: settings.openTokenPage()
                                text: qsTr("Open GitHub Token Page")
                                Accessible.name: text
                                Accessible.onPressAction: clicked()
                                Keys.onReturnPressed: clicked()
                                contentItem: Row {
                                    spacing: Theme.px(6)
                                    SymbolIcon { symbol: "arrow.up.forward.square"; color: Theme.accent; size: 12; anchors.verticalCenter: parent.verticalCenter }
                                    Label { text: qsTr("Open GitHub Token Page"); color: Theme.accent; font.pixelSize: Theme.px(12); font.underline: parent.parent.hovered || parent.parent.visualFocus; anchors.verticalCenter: parent.verticalCenter }
                                }
                            }
                        }
                    }
                }
                Divider { Layout.fillWidth: true }

                // Other accounts
                OtherAccountsSection { Layout.fillWidth: true }
                Item { Layout.preferredHeight: Theme.px(20) }
            }
        }
    }
}
