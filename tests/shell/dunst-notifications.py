#!/usr/bin/python3
"""Quillfen's test notification, sent from Settings as a user sends it, as
dunst (a real notification server, with no sound of its own) shows it, and
its bell as the sound server's null sink hears it.
Run inside run-in-session.sh --x11 --a11y --pulseaudio --keyring: dunst-notifications.py <quillfen>
"""
import array
import os
import subprocess
import sys
import tempfile
import threading

import pyatspi

from desktop import bus, check, failures, start, views, wait_for

HERE = os.path.dirname(os.path.abspath(__file__))
# In the session's runtime folder, which goes with it.
seen = tempfile.mkdtemp(dir=os.environ["XDG_RUNTIME_DIR"])


def notifications():
    """What dunst passed its rule's script (see dunstrc), for each notification the rule matched."""
    found = []
    for name in sorted(n for n in os.listdir(seen) if not n.startswith(".")):
        with open(os.path.join(seen, name), "rb") as recorded:
            found.append(dict(entry.decode().split("=", 1) for entry in recorded.read().split(b"\0")
                              if entry.startswith(b"DUNST_")))
    return found


def control(role, name):
    """Quillfen's showing control of that role and name, in any of its windows; the journey ends without it."""
    def walk(node):
        for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
            if child is not None:
                yield child
                yield from walk(child)

    def find():
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == app.pid]
        return next((n for a in apps for n in walk(a) if n.getRole() == role and n.name == name
                     and n.getState().contains(pyatspi.STATE_SHOWING)), None)
    return check(wait_for(find), "Quillfen shows '%s'" % name) or sys.exit(1)


def press(node):
    actions = node.queryAction()
    actions.doAction([actions.getName(i) for i in range(actions.nActions)].index("Press"))


class Sink:
    """The loudest sample the null sink has played since it was first heard."""
    def __init__(self):
        self.loudest = None
        self.process = start("parec", "--latency-msec=50", "-d", "q_null.monitor", "--raw", "--format=s16le",
                             "--rate=44100", "--channels=1", stdout=subprocess.PIPE)
        threading.Thread(target=self.listen, daemon=True).start()
        wait_for(lambda: self.loudest is not None)

    def listen(self):
        while chunk := self.process.stdout.read(4410 * 2):
            self.loudest = max([self.loudest or 0] + [abs(s) for s in array.array("h", chunk[:len(chunk) // 2 * 2])])


views["dunst saw"] = notifications
start("dunst", "-config", os.path.join(HERE, "dunstrc"), stderr=subprocess.DEVNULL,
      env=dict(os.environ, PATH=HERE + ":" + os.environ["PATH"], QUILLFEN_NOTIFICATIONS_SEEN=seen))
check(wait_for(lambda: "org.freedesktop.Notifications" in bus.list_names()), "dunst serves notifications") or sys.exit(1)
server = bus.get_object("org.freedesktop.Notifications", "/org/freedesktop/Notifications")
check("sound" not in server.GetCapabilities(dbus_interface="org.freedesktop.Notifications"), "dunst plays no sounds")

app = start(sys.argv[1])
check(wait_for(lambda: "com.quillfen.app" in bus.list_names()), "Quillfen starts") or sys.exit(1)
bus.get_object("com.quillfen.app", "/com/quillfen/app").ShowWindow(dbus_interface="com.quillfen.App1")
press(control(pyatspi.ROLE_PUSH_BUTTON, "Settings"))
# A new user's alerts are off, and their bell with them: an assistive
# tool's press turns each on, and the setting is kept (the bell's box is
# enabled only once alerts are on).
for name in ("Enable notifications", "Play sound"):
    toggle = control(pyatspi.ROLE_CHECK_BOX, name)
    press(toggle)
    check(wait_for(lambda: toggle.getState().contains(pyatspi.STATE_CHECKED)), "'%s' turns on" % name)
sink = Sink()
press(control(pyatspi.ROLE_PUSH_BUTTON, "Send Test Notification"))

test = wait_for(lambda: next((n for n in notifications() if n.get("DUNST_SUMMARY") == "Test Notification"), None))
check(test, "dunst shows the test notification") or sys.exit(1)
check(test.get("DUNST_APP_NAME") == "Quillfen", "it comes from Quillfen")
# It looks as an alert about a thread does, and the user's rules for those apply.
check(test.get("DUNST_CATEGORY") == "x-quillfen.thread", "it carries the category of Quillfen's thread alerts")
check(test.get("DUNST_DESKTOP_ENTRY") == "com.quillfen.app", "it names Quillfen's desktop entry")
check(test.get("DUNST_BODY") and "Quillfen" not in test["DUNST_BODY"], "its body does not repeat the application's name")
# The clip lasts 0.7 s: it reaches the sink within moments.
check(wait_for(lambda: sink.loudest > 5000, 5), "Quillfen plays its own bell, dunst having none")

app.terminate()
check(wait_for(lambda: app.poll() is not None, 5), "Quillfen ends")
sys.exit(1 if failures else 0)
