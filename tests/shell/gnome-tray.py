#!/usr/bin/python3
"""Quillfen on GNOME Shell with the AppIndicator extension, used as people do.

Runs inside run-in-session.sh --gnome: the shell is nested in a private X
server, so real clicks come from xdotool and pictures from ImageMagick's
import. The extension opens the item's menu on a click; its first entry must
lead to the panel.

    gnome-tray.py <quillfen executable>
"""
import os
import subprocess
import sys
import time

import dbus

exe = sys.argv[1]
bus = dbus.SessionBus()
failures = []
# The nested shell's output, at the top left of the X server.
OUTPUT = (800, 600)


def check(condition, what):
    print(("PASS: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def wait_for(predicate, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def screen():
    """The nested shell's output as rows of (r, g, b)."""
    ppm = subprocess.check_output(["import", "-window", "root", "-crop", "%dx%d+0+0" % OUTPUT, "ppm:-"])
    fields, offset = [], 0
    while len(fields) < 4:
        end = offset
        while ppm[end:end + 1] not in (b" ", b"\n"):
            end += 1
        if end > offset:
            fields.append(ppm[offset:end])
        offset = end + 1
    width, height = int(fields[1]), int(fields[2])
    pixels = ppm[offset:]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]


def light_share(shot, left, top, right, bottom):
    """How much of an area is the light background of Quillfen's windows."""
    samples = [shot[y][x] for y in range(top, bottom, 5) for x in range(left, right, 5)]
    return sum(1 for p in samples if min(p) > 200) / max(1, len(samples))


def bell_position():
    """The bell in the top bar: the first lit pixel left of the system menu."""
    shot = screen()
    for x in range(755, 560, -1):
        if any(min(shot[y][x]) > 150 for y in range(6, 26)):
            return x - 8, 16
    return None


def items():
    try:
        watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
        return list(watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                                dbus_interface="org.freedesktop.DBus.Properties"))
    except dbus.DBusException:
        return []


def extension(enabled):
    value = '["ubuntu-appindicators@ubuntu.com"]' if enabled else "[]"
    subprocess.check_call(["gsettings", "set", "org.gnome.shell", "enabled-extensions", value])


def xdotool(*arguments):
    subprocess.check_call(["xdotool"] + [str(a) for a in arguments])


def menu_entry(bell, index):
    """A click on the bell opens the menu; a click on its index-th entry."""
    xdotool("mousemove", *bell, "click", 1)
    time.sleep(1)
    # GNOME 43's menus: entries 36 pixels apart, the first 46 below the bar.
    xdotool("mousemove", bell[0] - 40, 62 + 36 * index, "click", 1)


# A late extension: Quillfen starts at login before the top bar hosts items.
extension(False)
check(wait_for(lambda: "org.kde.StatusNotifierWatcher" not in bus.list_names()), "the extension is off")
app = subprocess.Popen([exe, "--background"], env=dict(os.environ, QT_QUICK_BACKEND=""))
try:
    time.sleep(2)
    extension(True)
    started = time.monotonic()
    check(wait_for(items, 5), "the icon registers when the extension comes later")
    print("late extension: icon registered %.0f ms after it was enabled" % ((time.monotonic() - started) * 1000))

    # One click opens the menu; its first entry opens the panel.
    bell = wait_for(bell_position)
    check(bool(bell), "the bell is in the top bar")
    menu_entry(bell, 0)
    middle = (OUTPUT[0] // 2 - 150, 150, OUTPUT[0] // 2 + 150, 450)
    check(wait_for(lambda: light_share(screen(), *middle) > 0.8), "the menu's first entry opens the panel")

    # The main window from the menu, then Settings from the main window's
    # gear: it comes in front, not behind with a "ready" banner.
    menu_entry(bell, 1)
    time.sleep(2)
    subprocess.call(["import", "-window", "root", "-crop", "%dx%d+0+0" % OUTPUT, "/tmp/gnome-main.png"])
finally:
    app.terminate()
    try:
        app.wait(5)
    except subprocess.TimeoutExpired:
        app.kill()

sys.exit(1 if failures else 0)
