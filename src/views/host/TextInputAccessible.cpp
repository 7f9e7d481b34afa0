#include "views/host/TextInputAccessible.h"

#include <QAccessibleObject>
#include <QQuickItem>
#include <QQuickWindow>

namespace {

// QQuickTextInput::EchoMode, which only Qt's private headers name.
constexpr int normalEcho = 0;
constexpr int noEcho = 1;

// The object behind QML's Accessible attached property: Qt makes it a child
// of its item, and only an item that has one is in the accessibility tree.
QObject *attachedTo(const QQuickItem *item)
{
    for (QObject *child : item->children()) {
        if (child->inherits("QQuickAccessibleAttached"))
            return child;
    }
    return nullptr;
}

// Read through the item's properties and invokable methods: QQuickTextInput
// has no public header.
class TextInputInterface : public QAccessibleObject,
                           public QAccessibleTextInterface,
                           public QAccessibleActionInterface {
public:
    explicit TextInputInterface(QQuickItem *item) : QAccessibleObject(item) { }

    QWindow *window() const override { return input()->window(); }

    QAccessibleInterface *parent() const override
    {
        QQuickWindow *window = input()->window();
        for (QQuickItem *up = input()->parentItem(); up; up = up->parentItem()) {
            if (window && up == window->contentItem())
                return QAccessible::queryAccessibleInterface(window);
            // Items outside the tree have no interface.
            if (QAccessibleInterface *found = QAccessible::queryAccessibleInterface(up))
                return found;
        }
        return nullptr;
    }

    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QRect rect() const override { return onScreen(QRectF(0, 0, input()->width(), input()->height())); }

    QAccessible::Role role() const override { return QAccessible::EditableText; }

    QAccessible::State state() const override
    {
        const QQuickItem *item = input();
        const QWindow *window = item->window();
        const QRect area = rect();
        QAccessible::State state;
        state.invisible = area.isNull() || !window || !window->isVisible();
        state.offscreen = !window || !QRect(window->mapToGlobal(QPoint()), window->size()).intersects(area);
        state.disabled = !item->isEnabled();
        state.focusable = item->isEnabled();
        state.focused = item->hasActiveFocus();
        state.passwordEdit = echoMode() != normalEcho;
        state.readOnly = item->property("readOnly").toBool();
        state.editable = !state.readOnly;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return attached("name");
        case QAccessible::Description:
            return attached("description");
        case QAccessible::Value:
            return shown();
        default:
            return {};
        }
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return QAccessibleObject::interface_cast(type);
    }

    // The text interface: every offset is into what is shown, which is as
    // long as the text unless nothing is echoed.
    QString text(int startOffset, int endOffset) const override
    {
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(shown().size()); }
    int cursorPosition() const override { return position("cursorPosition"); }
    void setCursorPosition(int position) override { input()->setProperty("cursorPosition", position); }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        const bool first = selectionIndex == 0 && selectionCount() == 1;
        *startOffset = first ? position("selectionStart") : 0;
        *endOffset = first ? position("selectionEnd") : 0;
    }
    int selectionCount() const override { return position("selectionStart") != position("selectionEnd") ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { QMetaObject::invokeMethod(input(), "deselect"); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        QMetaObject::invokeMethod(input(), "select", Q_ARG(int, startOffset), Q_ARG(int, endOffset));
    }

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
        const QRectF before = cursorRect(offset);
        return onScreen(QRectF(before.topLeft(), QPointF(cursorRect(offset + 1).left(), before.bottom())));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point))
                return offset;
        }
        return -1;
    }
    void scrollToSubstring(int startIndex, int) override
    {
        QMetaObject::invokeMethod(input(), "ensureVisible", Q_ARG(int, startIndex));
    }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // Its one action, which AT-SPI's "grab focus" asks for.
    QStringList actionNames() const override { return {setFocusAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == setFocusAction())
            input()->forceActiveFocus();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QQuickItem *input() const { return static_cast<QQuickItem *>(object()); }
    int echoMode() const { return input()->property("echoMode").toInt(); }

    QString attached(const char *property) const
    {
        const QObject *accessible = attachedTo(input());
        return accessible ? accessible->property(property).toString() : QString();
    }

    // The text, or in a hidden mode its mask: never the text itself, even
    // while PasswordEchoOnEdit shows it on screen.
    QString shown() const
    {
        const QString text = input()->property("text").toString();
        if (echoMode() == normalEcho)
            return text;
        if (echoMode() == noEcho)
            return {};
        const QString mask = input()->property("passwordCharacter").toString();
        return QString(text.size(), mask.isEmpty() ? QChar(u'\u25cf') : mask.front());
    }

    // A position of the text, within what is shown.
    int position(const char *property) const { return std::min(input()->property(property).toInt(), characterCount()); }

    QRectF cursorRect(int offset) const
    {
        QRectF area;
        QMetaObject::invokeMethod(input(), "positionToRectangle", Q_RETURN_ARG(QRectF, area), Q_ARG(int, offset));
        return area;
    }

    QRect onScreen(const QRectF &local) const
    {
        const QQuickItem *item = input();
        if (!item->window() || !item->isVisible() || qFuzzyIsNull(item->opacity()))
            return {};
        const QRectF scene = item->mapRectToScene(local);
        return {item->window()->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize()};
    }
};

QAccessibleInterface *textInputInterface(const QString &className, QObject *object)
{
    // Asked once for each class an object derives from, most derived first.
    if (className != u"QQuickTextInput" || object->inherits("QQuickTextField"))
        return nullptr;
    auto *item = qobject_cast<QQuickItem *>(object);
    const QObject *accessible = item ? attachedTo(item) : nullptr;
    if (!accessible || accessible->property("ignored").toBool())
        return nullptr;
    return new TextInputInterface(item);
}

} // namespace

void TextInputAccessible::install()
{
    QAccessible::installFactory(textInputInterface);
}
