#!/usr/bin/python3
"""Quillfen on KDE's window manager (KWin, on Wayland or X11), driven over
D-Bus as Plasma's tray drives it, and read back from KWin itself through a
script.
Run inside run-in-session.sh --a11y with --kwin or --kwin-x11: kwin-tray.py <quillfen>
"""
import json
import os
import subprocess
import sys
import tempfile

import dbus

from desktop import bus, check, failures, frame_active, registered_items, start, views, wait_for

LOG = os.environ["KWIN_LOG"]
kwin_scripting = dbus.Interface(bus.get_object("org.kde.KWin", "/Scripting"), "org.kde.kwin.Scripting")
SCRIPT = """
for (const w of workspace.clientList()) {
    // Wayland's application id, or X11's window class.
    if (w.resourceClass != "com.quillfen.app" && w.resourceClass != "quillfen")
        continue;
    const area = workspace.clientArea(KWin.MaximizeArea, w);
    print("QUILLFEN-WINDOW " + JSON.stringify({
        report: %d, caption: w.caption, x: w.x, y: w.y, width: w.width, height: w.height,
        skipTaskbar: w.skipTaskbar, skipSwitcher: w.skipSwitcher, active: w.active,
        area: {x: area.x, y: area.y, width: area.width, height: area.height}}));
}
print("QUILLFEN-DONE %d");
"""
reports = 0


def kwin_windows():
    """Quillfen's windows as KWin sees them now."""
    global reports
    reports += 1
    with tempfile.NamedTemporaryFile("w", suffix=".js", delete=False) as script:
        script.write(SCRIPT % (reports, reports))
    name = "quillfen-report-%d" % reports
    kwin_scripting.loadScript(script.name, name, signature="ss")
    kwin_scripting.start()
    done = "QUILLFEN-DONE %d" % reports
    wait_for(lambda: done in open(LOG, errors="replace").read(), 5)
    kwin_scripting.unloadScript(name)
    os.unlink(script.name)
    found = []
    for line in open(LOG, errors="replace"):
        if "QUILLFEN-WINDOW " in line:
            window = json.loads(line.split("QUILLFEN-WINDOW ", 1)[1])
            if window["report"] == reports:
                found.append(window)
    return found


def panel():
    """The panel: the only window of Quillfen's this journey opens."""
    return next(iter(kwin_windows()), None)


def near(window, x, y):
    """How far the click point is from the window's nearest edge."""
    dx = max(window["x"] - x, 0, x - (window["x"] + window["width"]))
    dy = max(window["y"] - y, 0, y - (window["y"] + window["height"]))
    return max(dx, dy)


def placed_at(x, y):
    """The open panel, when its top-left lies in the work area and its nearest edge by the click."""
    window = panel()
    if not window:
        return None
    area = window["area"]
    inside = area["x"] <= window["x"] < area["x"] + area["width"] and area["y"] <= window["y"] < area["y"] + area["height"]
    return window if inside and near(window, x, y) <= 50 else None


views["KWin's windows"] = kwin_windows

app = start(sys.argv[1], "--background")
items = check(wait_for(registered_items), "the icon registers with KDE's watcher") or sys.exit(1)
item = bus.get_object(items[0].split("/")[0], "/StatusNotifierItem")
activate = item.get_dbus_method("Activate", "org.kde.StatusNotifierItem")

# Where Plasma's panel at the bottom hands the click on the icon over.
activate(1080, 777)
first = check(wait_for(lambda: placed_at(1080, 777)), "the panel opens by the icon, in the work area")
if os.environ.get("WAYLAND_DISPLAY"):
    # On X11 the panel is a tool window, and Plasma's task manager decides for itself.
    check(first and first["skipTaskbar"] and first["skipSwitcher"], "the panel stays off the taskbar and the switcher")
check(wait_for(lambda: (panel() or {}).get("active")), "the panel has the focus")

subprocess.check_call(["xdotool", "key", "Escape"])
check(wait_for(lambda: not panel()), "Escape closes the panel")
# A panel at the top of the screen, as some users set Plasma up.
activate(200, 12)
second = check(wait_for(lambda: placed_at(200, 12)), "another click opens the panel at its own point")
check(second and first and (second["width"], second["height"]) == (first["width"], first["height"]),
      "the panel opens at the same size every time")
activate(200, 12)
check(wait_for(lambda: not panel()), "a second click closes the panel")
# As a user's next command would come: after Qt, which waits a moment for the
# focus to come back, has told Quillfen that the panel lost it.
check(wait_for(lambda: not frame_active(app.pid, "Quillfen")), "Quillfen hears that the panel lost the focus")

# No click point: where the last click put it.
subprocess.check_call([sys.argv[1], "--toggle-panel"])
check(wait_for(lambda: placed_at(200, 12)), "--toggle-panel opens the panel where the last click did")

# Another application's window takes the focus.
start("/usr/bin/python3", "-c", "import gi; gi.require_version('Gtk', '3.0'); from gi.repository import Gtk; "
      "w = Gtk.Window(title='Other'); w.show_all(); Gtk.main()")
check(wait_for(lambda: not panel()), "the panel closes when another window takes the focus")

app.terminate()
check(wait_for(lambda: app.poll() is not None, 5), "Quillfen ends")
sys.exit(1 if failures else 0)
