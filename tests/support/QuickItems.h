#pragma once

#include <QQuickItem>
#include <QQuickWindow>
#include <QString>

// Finds an item by objectName in the visual tree: list delegates are not
// QObject children of the window.
inline QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    const auto children = root->childItems();
    for (QQuickItem *item : children) {
        if (QQuickItem *found = findItem(item, name))
            return found;
    }
    return nullptr;
}

inline QQuickItem *findItem(QQuickWindow *window, const QString &name)
{
    return findItem(window->contentItem(), name);
}

// The item that must be there: a missing one ends the test run.
inline QQuickItem *child(QQuickWindow *window, const QString &name)
{
    QQuickItem *found = findItem(window, name);
    if (!found)
        qFatal("no item %s", qPrintable(name));
    return found;
}

inline bool shown(QQuickWindow *window, const QString &name)
{
    QQuickItem *item = findItem(window, name);
    return item && item->isVisible();
}

// Clicks as an assistive tool or a test does: through the control's signal.
inline bool click(QQuickWindow *window, const QString &name)
{
    return QMetaObject::invokeMethod(child(window, name), "clicked");
}
