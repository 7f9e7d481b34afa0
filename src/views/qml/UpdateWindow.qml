import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Quillfen

// Tells the user about a newer release. Nothing is installed: the button
// opens the download page in the browser.
Window {
    id: window
    required property string version
    required property string currentVersion
    required property string releaseNotes
    required property url downloadUrl
    property ViewActions actions

    title: qsTr("Quillfen Update")
    width: Theme.px(460)
    height: Theme.px(320)
    color: Theme.controlBackground

    Shortcut { sequence: StandardKey.Cancel; onActivated: window.close() }
    ControlsPalette { target: content }

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: Theme.px(20)
        spacing: Theme.px(12)
        Label { textFormat: Text.PlainText; text: qsTr("Quillfen %1 is available").arg(window.version); font.pixelSize: Theme.px(16); font.weight: Font.DemiBold }
        Label { text: qsTr("You have %1.").arg(window.currentVersion); font.pixelSize: Theme.px(12); color: Theme.secondary }
        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: window.releaseNotes.length > 0
            TextArea {
                readOnly: true
                wrapMode: Text.Wrap
                textFormat: TextEdit.PlainText
                text: window.releaseNotes
                Accessible.name: qsTr("Release notes")
                font.pixelSize: Theme.px(12)
            }
        }
        RowLayout {
            Item { Layout.fillWidth: true }
            LabeledButton { text: qsTr("Later"); onClicked: window.close() }
            LabeledButton {
                objectName: "downloadButton"
                text: qsTr("Open Download Page")
                highlighted: true
                // Only an https page is opened: no button for anything else.
                visible: window.downloadUrl.toString().startsWith("https://")
                onClicked: {
                    window.actions?.downloadRequested(window.downloadUrl)
                    window.close()
                }
            }
        }
    }
}
