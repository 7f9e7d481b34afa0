import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quillfen

// Settings of what may alert: rules per repository and reason (the first
// that matches decides), and quiet hours.
ColumnLayout {
    id: section
    spacing: Theme.px(12)
    Layout.fillWidth: true

    QuietSettingsModel { id: quiet }

    SectionHeader { symbol: "bell.slash"; title: qsTr("Rules and Quiet Hours"); caption: qsTr("Silence or hide threads by repository and reason; the first matching rule applies.") }

    Repeater {
        model: quiet.rules
        delegate: RowLayout {
            required property var modelData
            required property int index
            Layout.fillWidth: true
            spacing: Theme.px(6)
            Label { Layout.fillWidth: true; text: modelData.label; elide: Text.ElideRight; font.pixelSize: Theme.px(12) }
            IconButton { symbol: "chevron.right"; rotation: -90; visible: index > 0; tip: qsTr("Move Up"); onClicked: quiet.moveRuleUp(index) }
            IconButton { symbol: "trash"; tip: qsTr("Remove Rule"); onClicked: quiet.removeRule(index) }
        }
    }
    RowLayout {
        spacing: Theme.px(6)
        TextField {
            id: repositoryField
            objectName: "ruleRepositoryField"
            Layout.fillWidth: true
            placeholderText: qsTr("owner/name or owner/*")
            Accessible.name: qsTr("Repository")
        }
        ChoiceBox {
            id: reasonBox
            Layout.preferredWidth: Theme.px(130)
            choices: quiet.reasonChoices
            value: ""
            onActivated: index => value = quiet.reasonChoices[index].value
            Accessible.name: qsTr("Reason")
        }
        ChoiceBox {
            id: actionBox
            Layout.preferredWidth: Theme.px(90)
            choices: quiet.actionChoices
            value: "silent"
            onActivated: index => value = quiet.actionChoices[index].value
            Accessible.name: qsTr("Action")
        }
        LabeledButton {
            objectName: "addRuleButton"
            symbol: "checkmark"
            text: qsTr("Add Rule")
            onClicked: if (quiet.addRule(repositoryField.text, reasonBox.value, actionBox.value)) repositoryField.clear()
        }
    }

    PaletteCheckBox {
        objectName: "quietHoursToggle"
        text: qsTr("Quiet hours")
        font.pixelSize: Theme.px(12)
        checked: quiet.quietHoursEnabled
        onToggled: quiet.quietHoursEnabled = checked
    }
    RowLayout {
        enabled: quiet.quietHoursEnabled
        spacing: Theme.px(6)
        Label { text: qsTr("From"); font.pixelSize: Theme.px(12) }
        TextField {
            Layout.preferredWidth: Theme.px(64)
            text: quiet.quietFrom
            inputMask: "99:99"
            onEditingFinished: quiet.quietFrom = text
            Accessible.name: qsTr("Quiet from")
        }
        Label { text: qsTr("to"); font.pixelSize: Theme.px(12) }
        TextField {
            Layout.preferredWidth: Theme.px(64)
            text: quiet.quietTo
            inputMask: "99:99"
            onEditingFinished: quiet.quietTo = text
            Accessible.name: qsTr("Quiet until")
        }
    }
    Flow {
        Layout.fillWidth: true
        enabled: quiet.quietHoursEnabled
        spacing: Theme.px(4)
        Repeater {
            model: quiet.dayNames
            delegate: PaletteCheckBox {
                required property string modelData
                required property int index
                text: modelData
                font.pixelSize: Theme.px(12)
                checked: quiet.quietDays.indexOf(index + 1) >= 0
                onToggled: quiet.toggleDay(index + 1)
            }
        }
    }
}
