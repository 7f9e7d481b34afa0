#!/usr/bin/python3
"""Quillfen on GNOME Shell with the AppIndicator extension, nested in a private
X server: clicks come from xdotool, pictures from ImageMagick's import.
Run inside run-in-session.sh --gnome: gnome-tray.py <quillfen executable>
"""
import json
import os
import subprocess
import sys
import time

from desktop import bus, check, failures, light_share, registered_items, start, wait_for, watcher_running


def middle_share():
    """The panel's share of the middle of the shell's 800x600 output, where GNOME centres it."""
    return light_share(["import", "-window", "root", "-crop", "300x300+250+150", "-depth", "8", "ppm:-"])


def shell(script):
    """What the shell answers to a line of its own JavaScript."""
    ok, answer = bus.get_object("org.gnome.Shell", "/org/gnome/Shell").Eval(script, dbus_interface="org.gnome.Shell")
    return json.loads(answer) if ok and answer else None


def bell_position():
    """The centre of Quillfen's icon in the top bar, once the shell has placed it."""
    return shell("const e = Object.entries(imports.ui.main.panel.statusArea)"
                 ".find(([k]) => k.includes('StatusNotifierItem'));"
                 "const [x, y] = e ? e[1].get_transformed_position() : [NaN, NaN];"
                 "const p = e ? [Math.round(x + e[1].width / 2), Math.round(y + e[1].height / 2)] : [];"
                 "p.length && p.every(Number.isFinite) ? p : null")


def focused():
    """The focused window's title; the main window and the panel share theirs."""
    title = shell("global.display.focus_window ? global.display.focus_window.title : ''")
    wide = shell("global.display.focus_window ? global.display.focus_window.get_frame_rect().width > 500 : false")
    return "Quillfen (panel)" if title == "Quillfen" and not wide else title


def xdotool(*arguments):
    subprocess.check_call(["xdotool"] + [str(a) for a in arguments])


def menu_entry(bell, index):
    """A click on the bell opens the menu; a click on its index-th entry."""
    xdotool("mousemove", *bell, "click", 1)
    time.sleep(1)
    # GNOME 43's menus: entries 36 pixels apart, the first 46 below the bar.
    xdotool("mousemove", bell[0] - 40, 62 + 36 * index, "click", 1)


def extension(enabled):
    """The AppIndicator extension on or off; the session's unsafe mode stays."""
    value = ["unsafe-mode@quillfen.app"] + (["ubuntu-appindicators@ubuntu.com"] if enabled else [])
    subprocess.check_call(["gsettings", "set", "org.gnome.shell", "enabled-extensions", json.dumps(value)])


# A late extension: Quillfen starts at login before the top bar hosts items.
extension(False)
check(wait_for(lambda: not watcher_running()), "the extension is off")
start(sys.argv[1], "--background", env=dict(os.environ, QT_QUICK_BACKEND=""))
time.sleep(2)
extension(True)
check(wait_for(registered_items, 5), "the icon registers when the extension comes later")

# One click opens the menu; its first entry opens the panel.
bell = check(wait_for(bell_position), "the bell is in the top bar") or sys.exit(1)
time.sleep(1)
menu_entry(bell, 0)
check(wait_for(lambda: middle_share() > 0.8), "the menu's first entry opens the panel")
xdotool("key", "Escape")
check(wait_for(lambda: middle_share() < 0.5), "Escape closes the panel")

# A double click activates the item with a token from the shell; the one
# that closes the panel leaves no startup (busy cursor) behind.
for shown in (True, False):
    time.sleep(0.5)
    xdotool("mousemove", *bell, "click", "--repeat", 2, "--delay", 80, 1)
    check(wait_for(lambda: (middle_share() > 0.8) == shown),
          "a double click " + ("opens" if shown else "closes") + " the panel")
startups = "imports.gi.Shell.WindowTracker.get_default().get_startup_sequences().length"
check(wait_for(lambda: shell(startups) == 0, 5), "no startup is left pending after the panel is toggled")

# The main window, Settings from its gear, the main window brought back
# over it by a click, then the gear again: Settings comes in front, not
# behind a "ready" banner.
time.sleep(0.5)
menu_entry(bell, 1)
check(wait_for(lambda: focused() == "Quillfen"), "Open Window shows the main window, focused") or sys.exit(1)
# Where the window settles: GNOME maximizes one this large once it is shown.
rect = "const r = global.display.focus_window.get_frame_rect(); [r.x, r.y, r.width]"
frame = None
while frame != shell(rect):
    frame = shell(rect)
    time.sleep(0.5)
# The gear at the right end of the toolbar, under the window's title bar.
gear = (frame[0] + frame[2] - 28, frame[1] + 51)
xdotool("mousemove", *gear, "click", 1)
check(wait_for(lambda: focused() == "Quillfen Settings"), "the gear opens Settings, titled \"Quillfen Settings\"")
xdotool("mousemove", frame[0] + 30, frame[1] + 15, "click", 1)
check(wait_for(lambda: focused() == "Quillfen"), "a click on the main window brings it back over Settings")
xdotool("mousemove", *gear, "click", 1)
check(wait_for(lambda: focused() == "Quillfen Settings", 5), "the main window's gear brings Settings forward")
sys.exit(1 if failures else 0)
