.pragma library

// The keys a focused notification list answers, as the row tooltips name
// them. `row` is the focused ThreadDelegate. Returns whether the key was one
// of them.
function handle(event, store, threadId, unread, row) {
    if (event.modifiers & (Qt.ControlModifier | Qt.AltModifier | Qt.MetaModifier))
        return false
    switch (event.key) {
    case Qt.Key_Return:
    case Qt.Key_Enter:
        store.open(threadId)
        return true
    case Qt.Key_R:
        if (unread)
            store.toggleRead(threadId)
        return true
    case Qt.Key_M:
        store.toggleMute(threadId)
        return true
    case Qt.Key_D:
        store.markAsDone(threadId)
        return true
    case Qt.Key_S:
        row.openSnoozeMenu()
        return true
    }
    return false
}
