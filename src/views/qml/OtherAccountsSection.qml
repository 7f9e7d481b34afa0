import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quillfen

// The accounts after the first: each with its status and a Remove button,
// and a host and a token to add another.
ColumnLayout {
    id: section
    spacing: Theme.px(12)
    Layout.fillWidth: true

    AccountsViewModel { id: accounts }

    SectionHeader { symbol: "network"; title: qsTr("Other accounts"); caption: qsTr("More GitHub accounts, on github.com or a GitHub Enterprise Server, in the same list.") }
    Repeater {
        model: accounts.accounts
        RowLayout {
            id: accountRow
            required property var modelData
            spacing: Theme.px(8)
            Layout.fillWidth: true
            ColumnLayout {
                spacing: Theme.px(2)
                Layout.fillWidth: true
                Label { text: accountRow.modelData.login + " · " + accountRow.modelData.host; textFormat: Text.PlainText; font.pixelSize: Theme.px(12) }
                Label { text: accountRow.modelData.status; textFormat: Text.PlainText; font.pixelSize: Theme.px(11); color: Theme.secondary; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            LabeledButton {
                flat: true
                symbol: "trash"
                text: qsTr("Remove")
                Accessible.name: qsTr("Remove %1 on %2").arg(accountRow.modelData.login).arg(accountRow.modelData.host)
                onClicked: accounts.remove(accountRow.modelData.host, accountRow.modelData.login)
            }
        }
    }
    RowLayout {
        spacing: Theme.px(8)
        Layout.fillWidth: true
        TextField {
            objectName: "accountHostField"
            Layout.preferredWidth: Theme.px(200)
            placeholderText: "ghe.example.com"
            text: accounts.hostInput
            onTextEdited: accounts.hostInput = text
            Accessible.name: qsTr("Host")
        }
        SecretField {
            Layout.fillWidth: true
            inputName: "accountTokenField"
            text: accounts.tokenInput
            onEdited: text => accounts.tokenInput = text
            accessibleName: qsTr("Token for the account")
        }
        LabeledButton {
            objectName: "addAccountButton"
            enabled: accounts.hostInput.length > 0 && accounts.tokenInput.length > 0 && !accounts.isAdding
            busy: accounts.isAdding
            symbol: "checkmark"
            text: qsTr("Add Account")
            onClicked: accounts.add()
        }
    }
    LabeledButton {
        objectName: "addAccountWithGitHubCliButton"
        visible: accounts.gitHubCliInstalled
        enabled: accounts.hostInput.length > 0 && !accounts.isAdding
        symbol: "key.fill"
        text: qsTr("Use the GitHub CLI's token")
        onClicked: accounts.addWithGitHubCliToken()
    }
    RowLayout {
        visible: accounts.statusMessage.length > 0
        spacing: Theme.px(6)
        SymbolIcon {
            symbol: accounts.isSuccess ? "checkmark.circle.fill" : "exclamationmark.triangle.fill"
            color: accounts.isSuccess ? Theme.green : Theme.orange
            size: 12
        }
        Label { text: accounts.statusMessage; textFormat: Text.PlainText; font.pixelSize: Theme.px(12); color: Theme.secondary; wrapMode: Text.Wrap; Layout.fillWidth: true }
    }
}
