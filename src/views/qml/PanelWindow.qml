import QtQuick
import Quillfen

// The window that drops down from the tray icon. The application sets its
// flags and position; it hides on Escape and when it loses focus. Its size is
// fixed before it is first shown, so the first frame is whole and tiling
// compositors float it.
Window {
    id: window
    required property NotificationsStore store
    property ViewActions actions
    property bool hideOnDeactivate: true
    readonly property alias panel: panel

    title: "Quillfen"
    color: Theme.controlBackground
    width: panel.implicitWidth
    height: panel.implicitHeight
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    NotificationsMenuPanel {
        id: panel
        // Right to left where the language reads so.
        LayoutMirroring.enabled: Theme.rightToLeft
        LayoutMirroring.childrenInherit: true
        anchors.fill: parent
        store: window.store
        onOpenWindowRequested: {
            window.hide()
            window.actions?.openWindowRequested()
        }
        onOpenSettingsRequested: {
            window.hide()
            window.actions?.openSettingsRequested()
        }
        onCloseRequested: window.hide()
    }

    // Read by the host as the panel hides: the click that took the focus
    // away (onto the tray icon) then means "close", not "open again".
    property bool closedByFocusLoss: false

    onActiveChanged: {
        if (!active && visible && hideOnDeactivate) {
            closedByFocusLoss = true
            hide()
        }
    }
    onVisibleChanged: {
        if (visible) {
            closedByFocusLoss = false
            panel.prepare()
        }
    }
}
