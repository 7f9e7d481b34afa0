#!/usr/bin/python3
"""What assistive tools see of Quillfen over AT-SPI, in the windows accessibility_host shows: no
showing control without a name, and one journey through accessible actions and keys only."""

import subprocess
import sys
import time

import pyatspi

PID = int(sys.argv[1])
INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_LINK,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_LIST,
}
failures = []


def ask(request):
    print(request, flush=True)
    if sys.stdin.readline().strip() != "shown":
        sys.exit(f"the host did not {request}")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == PID:
            return app
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node, path=()):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        where = path + (f"{child.getRoleName()} '{child.name}'",)
        yield child, where
        yield from walk(child, where)


def wait_for(what, find, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: {what}")


def window(title):
    def find():
        app = application()
        for candidate in (app or []):
            if candidate is not None and candidate.name == title and showing(candidate):
                return candidate
        return None
    return wait_for(f"no showing window '{title}'", find)


def takes_input(node):
    role = node.getRole()
    state = node.getState()
    return role in INTERACTIVE or (role == pyatspi.ROLE_TEXT and state.contains(pyatspi.STATE_EDITABLE)
                                   and not state.contains(pyatspi.STATE_READ_ONLY))


def control(parent, role, name, must_show=True):
    def find():
        for node, _ in walk(parent):
            if node.getRole() == role and node.name == name and (showing(node) or not must_show):
                return node
        return None
    return wait_for(f"no showing {pyatspi.Role(role)} '{name}' in '{parent.name}'", find)


def check_names(frame):
    """Every showing control that takes input has a name."""
    checked = 0
    for node, path in walk(frame):
        if takes_input(node) and showing(node):
            checked += 1
            # Qt 6.4 passes on no name for a field while it hides its text
            # (the journey checks the token field's name with the text shown).
            if node.getRole() == pyatspi.ROLE_PASSWORD_TEXT:
                continue
            if not node.name.strip():
                failures.append(f"unnamed in '{frame.name}': {' > '.join(path)}")
    if checked == 0:
        failures.append(f"no controls found in '{frame.name}'")
    print(f"checked {checked} controls in '{frame.name}'", file=sys.stderr)


def press(node):
    actions = node.queryAction()
    names = [actions.getName(i).lower() for i in range(actions.nActions)]
    if "press" not in names:
        sys.exit(f"FAIL: '{node.name}' offers no press action ({names})")
    actions.doAction(names.index("press"))


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


# The panel without a token: its way to Settings, pressed as voice control does.
ask("show panel")
panel = window("Quillfen")
check_names(panel)
press(control(panel, pyatspi.ROLE_PUSH_BUTTON, "Open Settings"))

settings = window("Quillfen Settings")
check_names(settings)
# Below the fold: focusing it must bring it into view.
field = control(settings, pyatspi.ROLE_PASSWORD_TEXT, "", must_show=False)
field.queryComponent().grabFocus()
wait_for("the token field did not take focus and show",
         lambda: field if field.getState().contains(pyatspi.STATE_FOCUSED) and showing(field) else None)
subprocess.run(["xdotool", "type", "--delay", "5", "ghp_accessible"], check=True)
# Tab goes on through the token's buttons, each brought into view as it
# takes focus.
for name in ("Show token", "Test Connection", "Save Token"):
    key("Tab")
    button = control(settings, pyatspi.ROLE_PUSH_BUTTON, name)
    wait_for(f"Tab did not reach {name}", lambda: button if button.getState().contains(pyatspi.STATE_FOCUSED) else None)
save = button
check_names(settings)
press(save)
control(settings, pyatspi.ROLE_PUSH_BUTTON, "Delete Token")
show = control(settings, pyatspi.ROLE_PUSH_BUTTON, "Show token")
press(show)
control(settings, pyatspi.ROLE_TEXT, "GitHub Personal Access Token")
press(control(settings, pyatspi.ROLE_PUSH_BUTTON, "Hide token"))
control(settings, pyatspi.ROLE_PASSWORD_TEXT, "")
key("Escape")
wait_for("Escape left Settings open", lambda: None if showing(settings) else settings)

# The threads the fake server sends, as rows a screen reader can read and press.
ask("show panel")
panel = window("Quillfen")
threads = control(panel, pyatspi.ROLE_LIST, "Notifications")
wait_for("the list shows no thread", lambda: next(
    (node for node, _ in walk(threads) if "Thread number 0" in node.name), None))
check_names(panel)
key("Escape")
wait_for("Escape left the panel open", lambda: None if showing(panel) else panel)

ask("show main")
check_names(window("Quillfen"))

ask("show update")
update = window("Quillfen Update")
check_names(update)
update.queryComponent().grabFocus()
key("Escape")
wait_for("Escape left the update window open", lambda: None if showing(update) else update)

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
