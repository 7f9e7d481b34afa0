#!/bin/sh
# Starts Quillfen twice at the same moment on a tray host: exactly one keeps
# running, and a third start hands over to it and exits.
#   instances.sh <quillfen executable>
set -eu
exe=$1
QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
first=$!
QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
second=$!
trap 'kill $first $second 2>/dev/null || true' EXIT
sleep 4
alive=0
for pid in $first $second; do kill -0 "$pid" 2>/dev/null && alive=$((alive + 1)); done
[ "$alive" -eq 1 ] || { echo "FAIL: $alive instances running"; exit 1; }
QT_QPA_PLATFORM=xcb timeout 10 "$exe" >/dev/null 2>&1 || { echo "FAIL: a third start did not hand over"; exit 1; }
kill $first $second 2>/dev/null || true

# A runtime folder others may enter is not used: the lock goes to a private
# folder of Quillfen's own, and single instance still holds.
open=$(mktemp -d)
chmod 777 "$open"
XDG_RUNTIME_DIR=$open QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
first=$!
sleep 3
kill -0 "$first" 2>/dev/null || { echo "FAIL: no instance with an open runtime folder"; exit 1; }
[ "$(stat -c %a "${XDG_CACHE_HOME:-$HOME/.cache}/quillfen/run")" = 700 ] || { echo "FAIL: no private folder"; exit 1; }
[ -z "$(ls -A "$open")" ] || { echo "FAIL: the open folder was used"; exit 1; }
XDG_RUNTIME_DIR=$open QT_QPA_PLATFORM=xcb timeout 10 "$exe" >/dev/null 2>&1 || { echo "FAIL: no hand-over in the private folder"; exit 1; }
rmdir "$open"
echo "PASS: one instance"
