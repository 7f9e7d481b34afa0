#!/bin/sh
# Starts Quillfen twice at the same moment on a tray host: exactly one keeps
# running, and a third start hands over to it and exits.
#   instances.sh <quillfen executable>
set -eu
exe=$1
alive() { ps -o stat= -p "$1" 2>/dev/null | grep -qv '^Z'; }
count_alive() { n=0; for pid in "$@"; do if alive "$pid"; then n=$((n + 1)); fi; done; echo $n; }
on_bus() {
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:com.quillfen.app 2>/dev/null | grep -q true
}
# Until the instance that won is on the bus and the others have handed over.
settle() {
    for _ in $(seq 150); do
        [ "$(count_alive "$@")" -le 1 ] && on_bus && return 0
        sleep 0.1
    done
}

QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
first=$!
QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
second=$!
trap 'kill $first $second 2>/dev/null || true' EXIT
settle $first $second
[ "$(count_alive $first $second)" -eq 1 ] || { echo "FAIL: $(count_alive $first $second) instances running"; exit 1; }
QT_QPA_PLATFORM=xcb timeout 10 "$exe" >/dev/null 2>&1 || { echo "FAIL: a third start did not hand over"; exit 1; }
kill $first $second 2>/dev/null || true
for _ in $(seq 100); do on_bus || break; sleep 0.1; done

# A runtime folder others may enter is not used: the lock goes to a private
# folder of Quillfen's own, and single instance still holds.
open=$(mktemp -d)
chmod 777 "$open"
XDG_RUNTIME_DIR=$open QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
first=$!
settle $first
alive "$first" || { echo "FAIL: no instance with an open runtime folder"; exit 1; }
[ "$(stat -c %a "${XDG_CACHE_HOME:-$HOME/.cache}/quillfen/run")" = 700 ] || { echo "FAIL: no private folder"; exit 1; }
[ -z "$(ls -A "$open")" ] || { echo "FAIL: the open folder was used"; exit 1; }
XDG_RUNTIME_DIR=$open QT_QPA_PLATFORM=xcb timeout 10 "$exe" >/dev/null 2>&1 || { echo "FAIL: no hand-over in the private folder"; exit 1; }
rmdir "$open"
echo "PASS: one instance"
