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
echo "PASS: one instance"
