import QtQuick
import QtQuick.Window
import Quillfen

Window {
    id: window
    readonly property alias settingsView: view
    title: "Quillfen Settings"
    width: 600
    height: 500
    minimumWidth: 600
    maximumWidth: 600
    minimumHeight: 500
    maximumHeight: 500
    color: Theme.controlBackground

    SettingsView { id: view; anchors.fill: parent }
    Shortcut { sequence: StandardKey.Cancel; onActivated: window.close() }

    onVisibleChanged: if (visible) view.prepare()
}
