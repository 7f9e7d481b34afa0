import QtQuick
import QtQuick.Window
import Quillfen

Window {
    id: window
    readonly property alias settingsView: view
    title: qsTr("Quillfen Settings")
    width: Theme.px(600)
    height: Theme.px(500)
    minimumWidth: Theme.px(600)
    maximumWidth: Theme.px(600)
    minimumHeight: Theme.px(500)
    maximumHeight: Theme.px(500)
    color: Theme.controlBackground

    SettingsView {
        id: view
        anchors.fill: parent
        // Right to left where the language reads so.
        LayoutMirroring.enabled: Theme.rightToLeft
        LayoutMirroring.childrenInherit: true
    }
    Shortcut { sequence: StandardKey.Cancel; onActivated: window.close() }

    onVisibleChanged: if (visible) view.prepare()
}
