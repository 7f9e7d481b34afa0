#!/usr/bin/python3
"""Quillfen on sway, started before waybar comes as a late tray, then driven
over D-Bus as a panel drives it and read back from swaymsg, grim and
Quillfen's own accessibility tree.
Run inside run-in-session.sh --sway --a11y: wayland-tray.py <quillfen> <waybar config>
"""
import json
import os
import re
import subprocess
import sys
import threading
import time

import dbus

from desktop import bus, check, failures, frame_active, light_share, registered_items, start, wait_for, watcher_running


def windows():
    """Quillfen's windows in the compositor's tree, marked when it floats them."""
    def walk(node, floating):
        if node.get("app_id") == "com.quillfen.app":
            yield dict(node, floating=floating)
        for key in ("nodes", "floating_nodes"):
            for child in node.get(key, []):
                yield from walk(child, floating or key == "floating_nodes")

    return list(walk(json.loads(subprocess.check_output(["swaymsg", "-t", "get_tree"])), False))


def panel():
    """The panel: the one window the compositor floats."""
    return next((w for w in windows() if w.get("visible") and w["floating"]), None)


def main_window():
    return next((w for w in windows() if w.get("visible") and not w["floating"]), None)


def pixels_of(command, colour):
    """The pixels of a PPM screenshot (from command) that have exactly that colour."""
    ppm = subprocess.check_output(command)
    pixels = ppm[re.match(rb"P6\s+\d+\s+\d+\s+\d+\s", ppm).end():]
    return sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == colour)


def size(window):
    return window and (window["rect"]["width"], window["rect"]["height"])


app = start(sys.argv[1], "--background")
# Started at login before the panel: nothing to see, nothing lost.
check(wait_for(lambda: "com.quillfen.app" in bus.list_names()), "Quillfen starts with no tray")

start("waybar", "-c", sys.argv[2], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
check(wait_for(watcher_running), "waybar serves the StatusNotifierItem watcher")
items = check(wait_for(registered_items), "the icon registers with a tray that starts later") or sys.exit(1)
# Long after any window it would have opened at start would show.
check(app.poll() is None and not windows(), "--background before any tray opens no window and keeps running")
name = items[0].split("/")[0]
item = bus.get_object(name, "/StatusNotifierItem")
pixmaps, tooltip, icon_name, theme_path, status = (
    item.Get("org.kde.StatusNotifierItem", key, dbus_interface="org.freedesktop.DBus.Properties")
    for key in ("IconPixmap", "ToolTip", "IconName", "IconThemePath", "Status"))
check(len(pixmaps) > 0 and all(len(p[2]) == p[0] * p[1] * 4 for p in pixmaps), "the item carries its icon pixmaps")
check(str(tooltip[2]).startswith("Quillfen: "), "the item has its tooltip")


def unread_count():
    return int(bus.get_object("com.quillfen.app", "/com/quillfen/app").Get(
        "com.quillfen.App1", "UnreadCount", dbus_interface="org.freedesktop.DBus.Properties"))


def item_status():
    return str(item.Get("org.kde.StatusNotifierItem", "Status", dbus_interface="org.freedesktop.DBus.Properties"))


# The sample threads, some of them unread, show until a token is saved.
unread = unread_count()
check(unread > 0 and status == "NeedsAttention",
      "the item asks for attention while threads are unread (%d: %s)" % (unread, status))
check(icon_name == ("quillfen-tray-unread-symbolic" if unread else "quillfen-tray-symbolic")
      and os.path.isfile(os.path.join(theme_path, icon_name + ".svg")),
      "the item names its themed icon, found where it points the host (%s in %s)" % (icon_name, theme_path))
# waybar draws the named icon as it is, in the symbolic grey (#bebebe) that
# no pixmap of the bell has.
check(wait_for(lambda: pixels_of(["grim", "-t", "ppm", "-g", "1180,0 100x30", "-"], b"\xbe\xbe\xbe") > 4),
      "waybar draws the themed icon")
activate = item.get_dbus_method("Activate", "org.kde.StatusNotifierItem")

# First open: fixed size, floated by the tiling compositor, drawn whole.
activate(1250, 15)
first = check(wait_for(panel), "the panel opens as a floating window") or sys.exit(1)
geometry = "%(x)d,%(y)d %(width)dx%(height)d" % first["rect"]
check(wait_for(lambda: light_share(["grim", "-t", "ppm", "-g", geometry, "-"]) > 0.8),
      "the panel is drawn whole on its first open")
check(wait_for(lambda: (panel() or {}).get("focused")), "the panel has the focus")

activate(1250, 15)
check(wait_for(lambda: not panel()), "a second click closes the panel")
activate(1250, 15)
check(wait_for(lambda: size(panel()) == size(first)), "the panel opens at the same size every time")

# Another workspace: the panel left behind is not what the click toggles.
subprocess.check_call(["swaymsg", "-q", "workspace", "2"])
check(wait_for(lambda: not panel() and not frame_active(app.pid, "Quillfen")), "the panel closes when it loses the focus")
# The user's click comes later than the 300 ms in which Quillfen takes a
# click for the one that took the panel's focus away.
time.sleep(0.3)
activate(1250, 15)
check(wait_for(panel), "on another workspace the first click shows the panel")

# The menu, as the host draws it.
menu = dbus.Interface(bus.get_object(name, "/MenuBar"), "com.canonical.dbusmenu")
_, layout = menu.GetLayout(0, -1, [])
entries = {str(child[1].get("label", "")).replace("_", ""): int(child[0]) for child in layout[2]}
labels = list(entries)
check(labels[0].startswith("Show Notifications") and labels[1:3] == ["Open Window", "Settings\u2026"],
      "the menu leads with the panel, then the windows")


def choose(label):
    menu.Event(entries[label], "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))


choose("Open Window")
check(wait_for(lambda: (main_window() or {}).get("focused")), "Open Window shows the main window, focused")
check(not panel(), "opening a window closes the panel")
check(wait_for(lambda: frame_active(app.pid, "Quillfen")), "Quillfen's accessibility tree has its main window active")
# Left on another workspace, the window comes to the user.
subprocess.check_call(["swaymsg", "-q", "workspace", "3"])
check(wait_for(lambda: not main_window()), "the main window stays on its workspace")
# As a user's click would, after Quillfen has heard that its window lost the focus.
check(wait_for(lambda: not frame_active(app.pid, "Quillfen")), "Quillfen hears that its window lost the focus")
choose("Open Window")
check(wait_for(lambda: (main_window() or {}).get("focused")), "Open Window brings it to the current workspace")

# A token saved elsewhere, found when the panel next opens: the samples go,
# nothing is unread, and the host hears that the item no longer asks for
# attention.
monitor = subprocess.Popen(["dbus-monitor", "type='signal',interface='org.kde.StatusNotifierItem',member='NewStatus'"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
heard = []
threading.Thread(target=lambda: heard.extend(monitor.stdout), daemon=True).start()
check(wait_for(lambda: any("NameAcquired" in line for line in heard)), "the bus monitor listens")
subprocess.run(["secret-tool", "store", "--label=Quillfen", "xdg:schema", "org.freedesktop.Secret.Generic",
                "service", "com.quillfen.app", "account", "github-token"], input=b"ghp_journey", check=True)
activate(1250, 15)
check(wait_for(lambda: unread_count() == 0 and item_status() == "Active"),
      "the item's status follows the unread count down to none (%s)" % item_status())
check(wait_for(lambda: any('"Active"' in line for line in heard)), "the host is told with NewStatus")
monitor.kill()

choose("Quit")
check(wait_for(lambda: app.poll() == 0, 5), "Quit from the menu ends Quillfen")
sys.exit(1 if failures else 0)
