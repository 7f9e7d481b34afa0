#!/bin/sh
# Measures Quillfen as a user meets it: the time from start to the tray icon,
# and the resident memory of the tray alone and with the panel open. Runs the
# built executable on a private X server with a tray host, in a private D-Bus
# session with no token stored (the sample threads).
#
#   bench/measure-tray.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
exe="$(pwd)/${1:-build}/src/app/quillfen"
[ -x "$exe" ] || { echo "build Quillfen first: $exe not found" >&2; exit 1; }

exec tests/support/run-in-session.sh --tray -- sh -c '
    exe=$1
    sleep 1 # let the tray host settle
    start=$(date +%s%N)
    QT_QPA_PLATFORM=xcb "$exe" >/dev/null 2>&1 &
    pid=$!
    # The docked icon is a window of class "quillfen" inside the tray host.
    for _ in $(seq 400); do
        icon=$(xdotool search --classname quillfen 2>/dev/null | head -1 || true)
        [ -n "$icon" ] && break
        sleep 0.01
    done
    ready=$(date +%s%N)
    [ -n "$icon" ] || { echo "no tray icon appeared" >&2; kill $pid; exit 1; }
    sleep 2
    tray_rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)

    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + 5)) $((Y + 5)) click 1
    sleep 2
    panel_rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
    panels=$(xdotool search --onlyvisible --name "^Quillfen$" 2>/dev/null | wc -l)

    echo "start to tray icon: $(( (ready - start) / 1000000 )) ms"
    echo "resident memory, tray only: $((tray_rss / 1024)) MiB"
    echo "resident memory, panel open: $((panel_rss / 1024)) MiB (visible Quillfen windows: $panels)"
    kill $pid
' measure "$exe"
