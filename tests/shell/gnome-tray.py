#!/usr/bin/python3
"""Quillfen on GNOME Shell with the AppIndicator extension, nested in a private
X server: clicks come from xdotool at the places the shell reports for its
actors, and every step waits for the state the shell or Quillfen reports.
Run inside run-in-session.sh --gnome --a11y: gnome-tray.py <quillfen executable>
"""
import json
import os
import subprocess
import sys

from desktop import bus, check, failures, frame_active, light_share, registered_items, start, views, wait_for, watcher_running

# What the shell's answers below are made of: Quillfen's indicator in the top
# bar (a live one: the extension leaves the places of items it dropped), an
# actor's centre on the stage, and whether a click there reaches it.
PRELUDE = """
const Clutter = imports.gi.Clutter;
const live = Object.entries(imports.ui.main.panel.statusArea).filter(([k, v]) => k.includes('StatusNotifierItem')
    && v && v._indicator && v._indicator.isReady && v.mapped);
const indicator = live.length ? live[live.length - 1][1] : null;
const centre = a => { const [x, y] = a.get_transformed_position();
                      return [Math.round(x + a.width / 2), Math.round(y + a.height / 2)]; };
const reachable = a => { const [x, y] = centre(a);
                         const hit = global.stage.get_actor_at_pos(Clutter.PickMode.REACTIVE, x, y);
                         return a.mapped && a.width > 0 && hit !== null && (hit === a || a.contains(hit)); };
const frame = w => { const r = w.get_frame_rect(); return [r.x, r.y, r.width, r.height]; };
"""
MENU_OPEN = "indicator && indicator.menu.isOpen"


def shell(script):
    """What the shell answers to a line of its own JavaScript, after the prelude."""
    ok, answer = bus.get_object("org.gnome.Shell", "/org/gnome/Shell").Eval(PRELUDE + script,
                                                                          dbus_interface="org.gnome.Shell")
    return json.loads(answer) if ok and answer else None


def bell_position():
    """The centre of Quillfen's icon once a click there reaches it."""
    return shell("indicator && reachable(indicator) ? centre(indicator) : null")


def menu_entries():
    """The open menu's entries by label, each at its centre, once the menu has
    stopped moving and a click on every entry reaches it."""
    return shell("const m = indicator && indicator.menu; const b = m && m._boxPointer;"
                 "const items = m && m.isOpen ? m._getMenuItems().filter(i => i.visible && i.label && i.label.text) : [];"
                 "b && b.opacity === 255 && b.translation_x === 0 && b.translation_y === 0"
                 " && items.length && items.every(reachable)"
                 " ? Object.fromEntries(items.map(i => [i.label.text, centre(i)])) : null")


def quillfen_windows():
    """Quillfen's windows the shell manages: title, frame, what it draws of them, focus."""
    return shell("global.display.list_all_windows().filter(w => w.get_wm_class() === 'com.quillfen.app')"
                 ".map(w => { const a = w.get_compositor_private();"
                 " return {title: w.title, frame: frame(w), focused: w.has_focus(),"
                 " drawn: a ? [a.x, a.y, a.width, a.height] : null, showing: w.showing_on_its_workspace()}; })") or []


def panel():
    return next((w for w in quillfen_windows() if w["title"] == "Quillfen" and w["frame"][2] < 500), None)


def focused():
    """The focused window's title; the main window and the panel share theirs."""
    window = next((w for w in quillfen_windows() if w["focused"]), None)
    if not window:
        return shell("global.display.focus_window ? global.display.focus_window.title : ''")
    return "Quillfen (panel)" if window == panel() else window["title"]


def drawn(window):
    """How much of the window's frame shows Quillfen's light background."""
    x, y, width, height = window["frame"]
    return light_share(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                        "-depth", "8", "ppm:-"])


def panel_shown():
    shown = panel()
    return shown and shown["showing"] and drawn(shown) > 0.8


def xdotool(*arguments):
    subprocess.check_call(["xdotool"] + [str(a) for a in arguments])


def click(point, *options):
    xdotool("mousemove", *point, "click", *options, 1)


def choose(label):
    """A click on the bell opens the menu; a click on the entry that starts with label."""
    click(wait_for(bell_position))
    entries = check(wait_for(menu_entries), "a click on the bell opens its menu") or {}
    entry = next((place for text, place in entries.items() if text.startswith(label)), None)
    check(entry, "the menu has \"%s\"" % label) and click(entry)
    check(wait_for(lambda: not shell(MENU_OPEN)), "the menu closes after a choice")


def extension(enabled):
    """The AppIndicator extension on or off; the session's unsafe mode stays."""
    value = ["unsafe-mode@quillfen.app"] + (["ubuntu-appindicators@ubuntu.com"] if enabled else [])
    subprocess.check_call(["gsettings", "set", "org.gnome.shell", "enabled-extensions", json.dumps(value)])


views["Quillfen's windows"] = quillfen_windows
views["the menu"] = lambda: shell("indicator ? [indicator.menu.isOpen, indicator._indicator.supportsActivation] : null")
views["the shell's log"] = lambda: open(os.path.join(os.environ["XDG_RUNTIME_DIR"], "gnome-shell.log")).readlines()[-12:]
views["pending startups"] = lambda: shell("imports.gi.Shell.WindowTracker.get_default().get_startup_sequences()"
                                          ".map(s => [s.get_id(), s.get_completed()])")

# A late extension: Quillfen starts at login before the top bar hosts items.
extension(False)
check(wait_for(lambda: not watcher_running()), "the extension is off")
app = start(sys.argv[1], "--background", env=dict(os.environ, QT_QUICK_BACKEND=""))
check(wait_for(lambda: "com.quillfen.app" in bus.list_names()), "Quillfen is running")
extension(True)
check(wait_for(registered_items), "the icon registers when the extension comes later")

check(wait_for(bell_position), "the bell is in the top bar") or sys.exit(1)

# A double click activates the item with a token from the shell. Until the
# item has taken one activation, the extension also opens its menu (and may
# activate on a single click): the user closes what opened too.
click(wait_for(bell_position), "--repeat", 2, "--delay", 80)
check(wait_for(panel_shown), "a double click opens the panel")
check(wait_for(lambda: shell("indicator && indicator._indicator.supportsActivation") is True),
      "the shell knows the item takes activation")
for _ in range(2):
    if shell(MENU_OPEN) or panel():
        xdotool("key", "Escape")
        wait_for(lambda: not shell(MENU_OPEN) and not (panel() or {}).get("focused"))
check(not shell(MENU_OPEN) and not panel(), "Escape closes what the first activation opened")

# From then on one click opens the menu; its first entry opens the panel.
choose("Show Notifications")
check(wait_for(panel_shown), "the menu's first entry opens the panel")
xdotool("key", "Escape")
check(wait_for(lambda: not panel()), "Escape closes the panel")

# Each double click toggles the panel; none leaves a startup (a busy
# cursor) pending.
for shown in (True, False):
    click(wait_for(bell_position), "--repeat", 2, "--delay", 80)
    check(wait_for(lambda: (panel_shown() and panel()["focused"]) if shown else not panel()),
          "a double click " + ("opens and focuses" if shown else "closes") + " the panel")
pending = "imports.gi.Shell.WindowTracker.get_default().get_startup_sequences().filter(s => !s.get_completed()).length"
check(wait_for(lambda: shell(pending) == 0), "no startup is left pending after the panel is toggled")

# The main window, Settings from its gear, the main window brought back
# over it by a click, then the gear again: Settings comes in front, not
# behind a "ready" banner.
choose("Open Window")
check(wait_for(lambda: focused() == "Quillfen" and frame_active(app.pid, "Quillfen")),
      "Open Window shows the main window, focused") or sys.exit(1)
# The gear is placed from what the shell draws of the window, once it draws
# it where it frames it.
main = check(wait_for(lambda: next((w["drawn"] for w in quillfen_windows() if w["title"] == "Quillfen"
                                    and w["drawn"] == w["frame"]), None)),
             "the main window is drawn where the shell places it") or sys.exit(1)
x, y, width, _ = main
# The gear at the right end of the toolbar, under the window's title bar.
gear = (x + width - 28, y + 51)
click(gear)
check(wait_for(lambda: focused() == "Quillfen Settings"), "the gear opens Settings, titled \"Quillfen Settings\"")
# The main window brought back over Settings by the shell, as a click on it
# would, with the pointer left resting on the gear: a click that moves within
# one window can reach Qt before the pointer's new place does.
shell("global.display.list_all_windows().find(w => w.get_wm_class() === 'com.quillfen.app'"
      " && w.title === 'Quillfen').activate(global.get_current_time())")
check(wait_for(lambda: focused() == "Quillfen" and frame_active(app.pid, "Quillfen")),
      "the main window comes back over Settings, and Quillfen knows")
xdotool("click", 1)
check(wait_for(lambda: focused() == "Quillfen Settings"), "the main window's gear brings Settings forward")
sys.exit(1 if failures else 0)
