#!/bin/sh
# Runs the real application on a tray host: while only the tray icon shows,
# none of Qt Quick, QML or Svg is mapped; a click on the icon loads them, and
# the panel it opens maps neither Qt Quick Controls nor Layouts, nor (on X11)
# Qt's Wayland client.
#   lazy-views.sh <quillfen executable>
set -eu
exe=$1
mapped() { grep -c -E "libQt6(Quick|Qml|QuickControls2|Svg)\.so" "/proc/$pid/maps" || true; }

QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
icon=""
for _ in $(seq 100); do
    icon=$(xdotool search --classname '^quillfen$' 2>/dev/null | head -1 || true)
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || { echo "FAIL: no tray icon"; exit 1; }
# Settled: the tray shows the icon and Quillfen answers from its event loop.
for _ in $(seq 100); do
    xwininfo -id "$icon" 2>/dev/null | grep -q IsViewable && break
    sleep 0.1
done
"$exe" --status >/dev/null || { echo "FAIL: no status from the running Quillfen"; exit 1; }
[ "$(mapped)" -eq 0 ] || { echo "FAIL: views mapped with the tray only:"; grep -E "Quick|Qml|Svg" "/proc/$pid/maps"; exit 1; }

# A click before the tray host has placed the icon goes nowhere: try again.
for _ in 1 2 3 4 5; do
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + 5)) $((Y + 5)) click 1
    for _ in $(seq 30); do [ "$(mapped)" -gt 0 ] && break 2; sleep 0.1; done
done
[ "$(mapped)" -gt 0 ] || { echo "FAIL: the panel did not load the views"; exit 1; }
panel=""
for _ in $(seq 100); do
    panel=$(xdotool search --onlyvisible --name '^Quillfen$' 2>/dev/null | head -1 || true)
    [ -n "$panel" ] && break
    sleep 0.1
done
[ -n "$panel" ] || { echo "FAIL: the panel did not show"; exit 1; }
unwanted="libQt6(QuickControls2|QuickTemplates2|QuickLayouts|WaylandClient)|qtquickcontrols2|qquicklayouts|libwayland-client"
if grep -q -E "$unwanted" "/proc/$pid/maps"; then
    echo "FAIL: the panel loaded Qt Quick Controls, Layouts or the Wayland client:"
    grep -E "$unwanted" "/proc/$pid/maps"
    exit 1
fi
echo "PASS: views load on first click, the panel without Qt Quick Controls, Layouts or the Wayland client"
