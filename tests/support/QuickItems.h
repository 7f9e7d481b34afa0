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
