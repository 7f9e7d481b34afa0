#include "views/host/ActivationToken.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstring>

namespace {

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

// A startup-notification message goes to the root window in pieces of 20
// bytes, the first with its own type, the last ending in a NUL.
void sendStartupMessage(xcb_connection_t *connection, const QByteArray &message)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t sender = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    const QByteArray bytes = message + '\0';
    for (qsizetype offset = 0; offset < bytes.size(); offset += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = offset == 0 ? begin : more;
        std::memcpy(event.data.data8, bytes.constData() + offset,
                    size_t(std::min<qsizetype>(20, bytes.size() - offset)));
        xcb_send_event(connection, 0, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_destroy_window(connection, sender);
    xcb_flush(connection);
}

QByteArray quoted(const QString &token)
{
    QByteArray value = token.toUtf8();
    value.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + value + '"';
}

} // namespace

void ActivationToken::applyTo(QWindow *window, const QString &token)
{
    if (token.isEmpty())
        return;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt's Wayland activation takes the token from here, once.
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        return;
    }
    if (xcb_connection_t *connection = x11Connection()) {
        const QByteArray id = token.toUtf8();
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()),
                            atom(connection, "_NET_STARTUP_ID"), atom(connection, "UTF8_STRING"), 8,
                            uint32_t(id.size()), id.constData());
    }
}

void ActivationToken::release(const QString &token)
{
    if (token.isEmpty())
        return;
    // Not left for a later, unrelated window.
    qunsetenv("XDG_ACTIVATION_TOKEN");
    if (xcb_connection_t *connection = x11Connection())
        sendStartupMessage(connection, "remove: ID=" + quoted(token));
}
