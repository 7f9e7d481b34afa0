"""What the desktop journeys share: checks that report and go on, waiting, the
processes a journey starts, pixels of a screenshot and the tray host's items."""
import atexit
import re
import subprocess
import time

import dbus

bus = dbus.SessionBus()
failures = []
started = []
# What a journey shows of the desktop's state when a check fails: name -> function.
views = {}


def check(condition, what):
    print(("PASS: " if condition else "FAIL: ") + what, flush=True)
    if not condition:
        failures.append(what)
        for name, view in views.items():
            try:
                print("  %s: %r" % (name, view()), flush=True)
            except Exception as error:  # a view of a desktop that went away
                print("  %s: %s" % (name, error), flush=True)
    return condition


def wait_for(predicate, seconds=10.0):
    """The predicate's first true value within seconds, else its last."""
    deadline = time.monotonic() + seconds
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return value


def start(*command, **options):
    """A process that is ended, if it still runs, when the journey ends."""
    started.append(subprocess.Popen(command, **options))
    return started[-1]


@atexit.register
def end_started():
    for process in started:
        process.kill()


def light_share(command):
    """How much of a PPM screenshot (from command) is the light background of
    Quillfen's windows, sampled every seventh pixel."""
    ppm = subprocess.check_output(command)
    # After the header: magic, width, height and maximum, each ended by whitespace.
    pixels = ppm[re.match(rb"P6\s+\d+\s+\d+\s+\d+\s", ppm).end():]
    samples = range(0, len(pixels) - 2, 3 * 7)
    return sum(1 for i in samples if min(pixels[i:i + 3]) > 200) / max(1, len(samples))


def watcher_running():
    return "org.kde.StatusNotifierWatcher" in bus.list_names()


def registered_items():
    try:
        watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
        return [str(item) for item in watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                                                  dbus_interface="org.freedesktop.DBus.Properties")]
    except dbus.DBusException:
        return []


def frame_active(pid, title):
    """Whether the process holds its window titled so as the active one, in its own accessibility tree."""
    import pyatspi
    for desktop_app in pyatspi.Registry.getDesktop(0):
        if desktop_app is not None and desktop_app.get_process_id() == pid:
            return any(w is not None and w.name == title and w.getState().contains(pyatspi.STATE_ACTIVE)
                       for w in desktop_app)
    return False
