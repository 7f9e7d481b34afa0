#!/bin/sh
# Measures Quillfen as a user meets it, beside two baselines built from
# bench/baseline: a bare Qt tray app (tray icon and a menu) and a tray app
# that opens a 20-row QML ListView window on click. All three run on one
# private X server with a tray host, in a private D-Bus session whose keyring
# holds no token (Quillfen shows the sample threads), three rounds interleaved.
# All draw with Qt Quick's software renderer: the session sets it for the
# baselines, and it is Quillfen's own choice.
# A fourth, bench_quillfen_threads, is Quillfen with 120 threads and their
# issue and pull request details from a fake GitHub in the same process.
#
# For each program: the time from start to the tray icon, resident memory
# with the tray only and with the panel open, and the panel's first-open time
# (from the click to its first frame). For Quillfen also a later open: the
# panel closed with Escape and opened again by a click. Then Quillfen /
# baseline ratios.
#
#   bench/measure-tray.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
bin="$(pwd)/${1:-build}/bin"
for exe in quillfen bench_bare_tray bench_qml_tray bench_quillfen_threads; do
    [ -x "$bin/$exe" ] || { echo "build first: $bin/$exe not found" >&2; exit 1; }
done

exec tools/session/run-in-session.sh --keyring --tray -- sh -c '
    bin=$1
    ms() { echo $(( $(date +%s%N) / 1000000 )); }
    rss() { awk "/VmRSS/ {print \$2}" /proc/$1/status; } # KiB

    # measure <program>: prints "<program> <start ms> <tray KiB> <panel KiB> <open ms> <later open ms>"
    measure() {
        log=$(mktemp)
        start=$(ms)
        QT_LOGGING_RULES="quillfen.timing.info=true" "$bin/$1" >"$log" 2>&1 &
        pid=$!
        icon=""
        for _ in $(seq 500); do
            icon=$(xdotool search --classname "^$1\$" 2>/dev/null | head -1 || true)
            [ -n "$icon" ] && break
            sleep 0.005
        done
        ready=$(ms)
        [ -n "$icon" ] || { echo "$1: no tray icon appeared" >&2; kill $pid; exit 1; }
        sleep 2
        tray=$(rss $pid)
        eval "$(xdotool getwindowgeometry --shell "$icon")"
        xdotool mousemove $((X + 5)) $((Y + 5))
        clicked=$(ms)
        xdotool click 1
        frames() { grep -o "\(first\|panel\) frame [0-9]*" "$log" | cut -d" " -f3; }
        for _ in $(seq 300); do [ -n "$(frames)" ] && break; sleep 0.01; done
        frame=$(frames | head -1)
        sleep 2
        panel=$(rss $pid)
        # Only Quillfen logs a frame at every open.
        later=0
        if grep -q "panel frame" "$log"; then
            xdotool key Escape
            sleep 0.5
            reopened=$(ms)
            xdotool click 1
            for _ in $(seq 200); do [ "$(frames | wc -l)" -ge 2 ] && break; sleep 0.01; done
            again=$(frames | sed -n 2p)
            [ -n "$again" ] && later=$((again - reopened))
        fi
        kill $pid; wait $pid 2>/dev/null || true
        rm -f "$log"
        # What one program stored (bench_quillfen_threads saves a token) must
        # not change what the next one measures.
        secret-tool clear service com.quillfen.app account github-token 2>/dev/null || true
        rm -rf "$XDG_CONFIG_HOME/quillfen" "$XDG_CACHE_HOME/quillfen" "$HOME/.local/state/quillfen"
        echo "$1 $((ready - start)) $tray $panel $(( ${frame:-0} - clicked )) $later"
    }

    sleep 1 # let the tray host settle
    results=$(mktemp)
    for round in 1 2 3; do
        for program in bench_bare_tray bench_qml_tray quillfen bench_quillfen_threads; do
            measure $program >>"$results"
            sleep 0.5
        done
    done

    awk "
        { n[\$1]++; start[\$1]+=\$2; tray[\$1]+=\$3; panel[\$1]+=\$4; open[\$1]+=\$5; opened[\$1, n[\$1]] = \$5
          if (\$6 > slowest[\$1]) slowest[\$1] = \$6
          printf \"round %d  %-16s start to tray icon %4d ms   tray only %5.1f MiB   panel open %5.1f MiB   first open %4d ms\", n[\$1], \$1, \$2, \$3 / 1024, \$4 / 1024, \$5
          printf (\$6 > 0 ? \"   later open %d ms\n\" : \"\n\"), \$6 }
        END {
            q = \"quillfen\"; b = \"bench_bare_tray\"; w = \"bench_qml_tray\"; t = \"bench_quillfen_threads\"
            printf \"\nmeans over %d rounds\n\", n[q]
            for (p in n) printf \"  %-16s %6.0f ms %6.1f MiB %6.1f MiB %6.0f ms\n\", p, start[p]/n[p], tray[p]/n[p]/1024, panel[p]/n[p]/1024, open[p]/n[p]
            printf \"\nratios (Quillfen / baseline)\n\"
            printf \"  start to tray icon / bare tray:     %.2f  (target <= 1.5)\n\", start[q]/start[b]
            printf \"  tray-only memory / bare tray:       %.2f  (target <= 1.3)\n\", tray[q]/tray[b]
            printf \"  panel-open memory / QML window app: %.2f  (target <= 1.25)\n\", panel[q]/panel[w]
            printf \"  panel first open / QML window app:  %.2f  (target <= 1.5)\n\", open[q]/open[w]
            # Each round set beside the baseline measured just before it: a
            # slow moment of a shared machine moves one round, not the median.
            for (r = 1; r <= n[q]; r++) ratio[r] = opened[q, r] / opened[w, r]
            for (r = 2; r <= n[q]; r++) for (k = r; k > 1 && ratio[k - 1] > ratio[k]; k--) { x = ratio[k]; ratio[k] = ratio[k - 1]; ratio[k - 1] = x }
            printf \"    median of the per-round ratios:     %.2f\n\", ratio[int((n[q] + 1) / 2)]
            printf \"  slowest later open: %d ms  (target < 50)\n\", slowest[q]
            printf \"  tray-only memory with a token and 120 threads / bare tray: %.2f\n\", tray[t]/tray[b]
            printf \"  panel-open memory with 120 threads and details / QML window app: %.2f\n\", panel[t]/panel[w]
        }" "$results"
    rm -f "$results"
' measure "$bin"
