import QtQuick
import QtQuick.Controls
import Quillfen

ApplicationWindow {
    id: window
    required property NotificationsStore store
    property ViewActions actions
    readonly property alias listView: listView

    title: "Quillfen"
    width: 720
    height: 520
    minimumWidth: 640
    minimumHeight: 440
    color: Theme.controlBackground

    NotificationsListView {
        id: listView
        anchors.fill: parent
        store: window.store
        onOpenSettingsRequested: window.actions?.openSettingsRequested()
    }
}
