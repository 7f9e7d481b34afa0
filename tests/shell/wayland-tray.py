#!/usr/bin/python3
"""Quillfen on a Wayland desktop, driven the way its tray host drives it.

Runs inside run-in-session.sh --sway: Quillfen starts in the background before
any tray, waybar comes later as the StatusNotifierItem host, and the item is
then clicked and its menu used over D-Bus exactly as a panel does. What the
user sees is read back from the compositor (swaymsg) and its pixels (grim).

    wayland-tray.py <quillfen executable> <waybar config>
"""
import json
import subprocess
import sys
import time

import dbus

from desktop import bus, check, failures, light_share, registered_items, wait_for

exe, waybar_config = sys.argv[1], sys.argv[2]


def windows():
    """Quillfen's windows: title, rect, floating, focused, visible."""
    tree = json.loads(subprocess.check_output(["swaymsg", "-t", "get_tree"]))
    found = []

    def walk(node, floating=False):
        if node.get("app_id") == "com.quillfen.app":
            found.append({"title": node["name"], "rect": node["rect"], "floating": floating,
                          "focused": node["focused"], "visible": node.get("visible", False)})
        for child in node.get("nodes", []):
            walk(child, floating)
        for child in node.get("floating_nodes", []):
            walk(child, True)

    walk(tree)
    return found


def panel():
    """The panel: the one window the compositor floats."""
    return next((w for w in windows() if w["visible"] and w["floating"]), None)


def main_window():
    return next((w for w in windows() if w["visible"] and not w["floating"]), None)


def light_share_of(rect):
    return light_share(["grim", "-t", "ppm", "-g", "%d,%d %dx%d" % (rect["x"], rect["y"], rect["width"], rect["height"]), "-"])


def item_name():
    items = registered_items()
    return items[0].split("/")[0] if items else None


def watcher_running():
    return "org.kde.StatusNotifierWatcher" in bus.list_names()


app = subprocess.Popen([exe, "--background"])
waybar = None
try:
    # Started at login before the panel: nothing to see, nothing lost.
    time.sleep(2)
    check(app.poll() is None and not windows(), "--background before any tray opens no window and keeps running")

    waybar = subprocess.Popen(["waybar", "-c", waybar_config], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    started = time.monotonic()
    check(wait_for(watcher_running), "waybar serves the StatusNotifierItem watcher")
    name = wait_for(lambda: watcher_running() and item_name(), 5)
    print("late tray: icon registered %.0f ms after waybar started" % ((time.monotonic() - started) * 1000))
    check(bool(name), "the icon registers with a tray that starts later")
    item = bus.get_object(name, "/StatusNotifierItem")
    properties = dbus.Interface(item, "org.freedesktop.DBus.Properties")
    pixmaps = properties.Get("org.kde.StatusNotifierItem", "IconPixmap")
    check(len(pixmaps) > 0 and all(len(p[2]) == p[0] * p[1] * 4 for p in pixmaps), "the item carries its icon pixmaps")
    check(str(properties.Get("org.kde.StatusNotifierItem", "ToolTip")[2]).startswith("Quillfen: "), "the item has its tooltip")
    activate = item.get_dbus_method("Activate", "org.kde.StatusNotifierItem")

    # First open: fixed size, floated by the tiling compositor, drawn whole.
    activate(1250, 15)
    check(wait_for(panel), "the panel opens as a floating window")
    first = (panel() or {"rect": {"x": 0, "y": 0, "width": 1, "height": 1}})["rect"]
    print("panel on sway: %dx%d at %d,%d" % (first["width"], first["height"], first["x"], first["y"]))
    time.sleep(0.5)
    check(light_share_of(first) > 0.8, "the panel is drawn whole on its first open")
    check(wait_for(lambda: (panel() or {}).get("focused")), "the panel has the focus")

    activate(1250, 15)
    check(wait_for(lambda: not panel()), "a second click closes the panel")
    activate(1250, 15)
    size = lambda rect: (rect["width"], rect["height"])
    check(wait_for(lambda: panel() and size(panel()["rect"]) == size(first)), "the panel opens at the same size every time")

    # Another workspace: the panel left behind is not what the click toggles.
    subprocess.check_call(["swaymsg", "-q", "workspace", "2"])
    check(wait_for(lambda: not panel()), "the panel closes when it loses the focus")
    time.sleep(0.5)
    activate(1250, 15)
    check(wait_for(panel), "on another workspace the first click shows the panel")

    # The menu, as the host draws it.
    menu = dbus.Interface(bus.get_object(name, "/MenuBar"), "com.canonical.dbusmenu")
    _, layout = menu.GetLayout(0, -1, [])
    entries = {str(child[1].get("label", "")).replace("_", ""): int(child[0]) for child in layout[2]}
    labels = list(entries)
    check(labels[0].startswith("Show Notifications") and labels[1:3] == ["Open Window", "Settings\u2026"],
          "the menu leads with the panel, then the windows")
    menu.Event(entries["Open Window"], "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))
    check(wait_for(lambda: (main_window() or {}).get("focused")), "Open Window shows the main window, focused")
    check(not panel(), "opening a window closes the panel")
    # Left on another workspace, the window comes to the user.
    subprocess.check_call(["swaymsg", "-q", "workspace", "3"])
    check(wait_for(lambda: not main_window()), "the main window stays on its workspace")
    # As a user's click would, after Quillfen has heard that its window lost the focus.
    time.sleep(1)
    menu.Event(entries["Open Window"], "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))
    check(wait_for(lambda: (main_window() or {}).get("focused")), "Open Window brings it to the current workspace")

    menu.Event(entries["Quit"], "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))
    try:
        app.wait(5)
    except subprocess.TimeoutExpired:
        pass
    check(app.poll() == 0, "Quit from the menu ends Quillfen")
finally:
    if app.poll() is None:
        app.kill()
    if waybar:
        waybar.kill()

sys.exit(1 if failures else 0)
