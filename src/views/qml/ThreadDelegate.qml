import QtQuick
import Quillfen

// One thread of a list's NotificationEntryModel: its row, acting on the
// store, and the divider under it. Placeholders (groups kept open while
// their threads are filtered out) take no room.
Column {
    id: entry
    required property NotificationsStore store
    required property int index
    required property string threadId
    required property string title
    required property string metaLine
    required property bool unread
    required property bool muted
    required property string iconName
    required property color tintColor
    required property string accessibleName
    required property bool isPlaceholder
    required property bool snoozed
    required property bool canMarkDone
    property bool highlighted: false
    property int rowInset: 0

    width: ListView.view.width
    visible: !isPlaceholder
    height: isPlaceholder ? 0 : implicitHeight

    function openSnoozeMenu() { rowView.openSnoozeMenu() }

    NotificationRowView {
        id: rowView
        x: entry.rowInset
        width: parent.width - 2 * entry.rowInset
        threadId: entry.threadId
        title: entry.title
        metaLine: entry.metaLine
        unread: entry.unread
        muted: entry.muted
        iconName: entry.iconName
        tintColor: entry.tintColor
        accessibleName: entry.accessibleName
        canMarkDone: entry.canMarkDone
        highlighted: entry.highlighted
        onOpen: entry.store.open(entry.threadId)
        onMarkReadToggle: entry.store.toggleRead(entry.threadId)
        onMuteToggle: entry.store.toggleMute(entry.threadId)
        onMarkDone: entry.store.markAsDone(entry.threadId)
        snoozed: entry.snoozed
        onSnooze: length => entry.store.snooze(entry.threadId, length)
        onUnsnooze: entry.store.unsnooze(entry.threadId)
        onMuteRepositoryAlerts: entry.store.muteRepositoryAlerts(entry.threadId)
        onHideRepository: entry.store.hideRepository(entry.threadId)
    }
    Divider { inset: Theme.px(44) }
}
