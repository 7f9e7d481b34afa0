#!/usr/bin/python3
"""What assistive tools see of Quillfen over AT-SPI, in the windows accessibility_host shows: no
showing control without a name, no password field that gives away its text, and one journey through
accessible actions and keys only."""

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


def has(node, state):
    return node.getState().contains(state)


def walk(node, path=()):
    for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
        if child is not None:
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
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == PID]
        return next((w for a in apps for w in a if w is not None and w.name == title and has(w, pyatspi.STATE_SHOWING)), None)
    return wait_for(f"no showing window '{title}'", find)


def control(parent, role, name, must_show=True):
    return wait_for(f"no showing {pyatspi.Role(role)} '{name}' in '{parent.name}'", lambda: next(
        (n for n, _ in walk(parent) if n.getRole() == role and n.name == name and (has(n, pyatspi.STATE_SHOWING) or not must_show)), None))


def closes(node, how):
    wait_for(f"{how} left '{node.name}' open", lambda: None if has(node, pyatspi.STATE_SHOWING) else node)


def takes_input(node):
    return node.getRole() in INTERACTIVE or (node.getRole() == pyatspi.ROLE_TEXT and has(node, pyatspi.STATE_EDITABLE)
                                             and not has(node, pyatspi.STATE_READ_ONLY))


def check_names(frame):
    """Every showing control that takes input has a name."""
    controls = [(n, p) for n, p in walk(frame) if takes_input(n) and has(n, pyatspi.STATE_SHOWING)]
    failures.extend(f"unnamed in '{frame.name}': {' > '.join(p)}" for n, p in controls if not n.name.strip())
    if not controls:
        failures.append(f"no controls found in '{frame.name}'")
    print(f"checked {len(controls)} controls in '{frame.name}'", file=sys.stderr)


def press(node):
    actions = node.queryAction()
    names = [actions.getName(i).lower() for i in range(actions.nActions)]
    if "press" not in names:
        sys.exit(f"FAIL: '{node.name}' offers no press action ({names})")
    actions.doAction(names.index("press"))


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def focused(node, what):
    wait_for(what, lambda: node if has(node, pyatspi.STATE_FOCUSED) and has(node, pyatspi.STATE_SHOWING) else None)


def type_into(field, typed):
    """Types into a focused field, and waits until its text interface counts every character."""
    subprocess.run(["xdotool", "type", "--delay", "5", typed], check=True)
    wait_for(f"'{field.name}' did not take '{typed}'", lambda: field if field.queryText().characterCount == len(typed) else None)


def hides(field, typed):
    """A password field gives assistive tools its mask at most, never a character of its text."""
    shown = field.queryText().getText(0, -1)
    if set(shown) & set(typed):
        failures.append(f"password field '{field.name}' gives away its text: '{shown}'")


# The panel without a token: its way to Settings, pressed as voice control does.
ask("show panel")
panel = window("Quillfen")
check_names(panel)
press(control(panel, pyatspi.ROLE_PUSH_BUTTON, "Open Settings"))

settings = window("Quillfen Settings")
check_names(settings)
# Below the fold: focusing it must bring it into view, and Tab goes on
# through the token's buttons, each brought into view as it takes focus.
field = control(settings, pyatspi.ROLE_PASSWORD_TEXT, "GitHub Personal Access Token", must_show=False)
field.queryComponent().grabFocus()
focused(field, "the token field did not take focus and show")
type_into(field, "ghp_accessible")
hides(field, "ghp_accessible")
for name in ("Show token", "Test Connection", "Save Token"):
    key("Tab")
    button = control(settings, pyatspi.ROLE_PUSH_BUTTON, name)
    focused(button, f"Tab did not reach {name}")
check_names(settings)
press(button)
control(settings, pyatspi.ROLE_PUSH_BUTTON, "Delete Token")
press(control(settings, pyatspi.ROLE_PUSH_BUTTON, "Show token"))
# Shown, the token is the field's text to assistive tools too; hidden again, it is not.
shown = control(settings, pyatspi.ROLE_TEXT, "GitHub Personal Access Token").queryText().getText(0, -1)
if shown != "ghp_accessible":
    failures.append(f"the shown token field reads '{shown}'")
press(control(settings, pyatspi.ROLE_PUSH_BUTTON, "Hide token"))
hides(control(settings, pyatspi.ROLE_PASSWORD_TEXT, "GitHub Personal Access Token"), "ghp_accessible")
# The other accounts' token field: a password field with its name too.
other = control(settings, pyatspi.ROLE_PASSWORD_TEXT, "Token for the account", must_show=False)
other.queryComponent().grabFocus()
focused(other, "the other accounts' token field did not take focus and show")
type_into(other, "ghp_other")
hides(other, "ghp_other")
key("Escape")
closes(settings, "Escape")

# The threads the fake server sends, as rows a screen reader can read and press.
ask("show panel")
panel = window("Quillfen")
threads = control(panel, pyatspi.ROLE_LIST, "Notifications")
wait_for("the list shows no thread", lambda: next((n for n, _ in walk(threads) if "Thread number 0" in n.name), None))
check_names(panel)
key("Escape")
closes(panel, "Escape")

ask("show main")
check_names(window("Quillfen"))

ask("show update")
update = window("Quillfen Update")
check_names(update)
update.queryComponent().grabFocus()
key("Escape")
closes(update, "Escape")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
