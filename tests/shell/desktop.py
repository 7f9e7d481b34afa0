"""What the desktop journeys share: checks that report and go on, waiting,
pixels read from a PPM screenshot, and the tray host's registered items."""
import subprocess
import time

import dbus

bus = dbus.SessionBus()
failures = []


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
        time.sleep(0.05)
    return predicate()


def light_share(command):
    """How much of a PPM screenshot (from command) is the light background of
    Quillfen's windows, sampled every seventh pixel."""
    ppm = subprocess.check_output(command)
    # P6 header: magic, width, height, maximum, each ended by whitespace.
    fields, offset = [], 0
    while len(fields) < 4:
        end = offset
        while ppm[end:end + 1] not in (b" ", b"\n"):
            end += 1
        if end > offset:
            fields.append(ppm[offset:end])
        offset = end + 1
    pixels = ppm[offset:]
    samples = range(0, len(pixels) - 2, 3 * 7)
    return sum(1 for i in samples if min(pixels[i:i + 3]) > 200) / max(1, len(samples))


def registered_items():
    try:
        watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
        return [str(item) for item in watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                                                  dbus_interface="org.freedesktop.DBus.Properties")]
    except dbus.DBusException:
        return []
