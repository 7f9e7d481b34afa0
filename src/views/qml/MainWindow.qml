import QtQuick
import QtQuick.Controls
import Quillfen

ApplicationWindow {
    id: window
    required property NotificationsStore store
    property ViewActions actions
    readonly property alias listView: listView

    title: "Quillfen"
    width: Theme.px(720)
    height: Theme.px(520)
    minimumWidth: Theme.px(640)
    minimumHeight: Theme.px(440)
    color: Theme.controlBackground

    NotificationsListView {
        id: listView
        // Right to left where the language reads so.
        LayoutMirroring.enabled: Theme.rightToLeft
        LayoutMirroring.childrenInherit: true
        anchors.fill: parent
        store: window.store
        onOpenSettingsRequested: window.actions?.openSettingsRequested()
    }
}
