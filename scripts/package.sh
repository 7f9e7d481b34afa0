#!/bin/sh
# Builds the Debian package from a configured build folder, validates its
# desktop files, then proves it: unpacked into a throwaway root (nothing is
# installed on this machine), the packaged binary starts under Xvfb with a
# tray host and shows its icon, and on a Wayland compositor opens its window.
#   scripts/package.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}

desktop-file-validate resources/desktop/com.quillfen.app.desktop
appstreamcli validate --no-net resources/desktop/com.quillfen.app.metainfo.xml

rm -f "$build"/quillfen_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/quillfen_*.deb)
echo "built $deb"
dpkg-deb --info "$deb" | sed -n 's/^ Depends:/depends:/p'

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for file in usr/bin/quillfen usr/share/applications/com.quillfen.app.desktop \
            usr/share/metainfo/com.quillfen.app.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/com.quillfen.app.svg \
            usr/share/icons/hicolor/scalable/status/quillfen-tray-symbolic.svg \
            usr/share/icons/hicolor/scalable/status/quillfen-tray-unread-symbolic.svg \
            usr/share/icons/hicolor/22x22/status/quillfen-tray.png \
            usr/share/doc/quillfen/LICENSE usr/share/doc/quillfen/octicons-LICENSE; do
    [ -e "$root/$file" ] || { echo "FAIL: the package lacks $file"; exit 1; }
done

tools/session/run-in-session.sh --keyring --tray -- sh -c '
    "$1/usr/bin/quillfen" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        xdotool search --classname "^quillfen\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    found=$(xdotool search --classname "^quillfen\$" 2>/dev/null | head -1 || true)
    kill $pid
    [ -n "$found" ] || { echo "FAIL: the packaged binary showed no tray icon"; exit 1; }
    echo "PASS: the packaged binary shows its tray icon"
' package "$root"

# The same binary on a Wayland compositor, through the Wayland plugin the
# package depends on: with no tray there, the main window opens.
tools/session/run-in-session.sh --sway -- sh -c '
    "$1/usr/bin/quillfen" >/dev/null 2>&1 &
    pid=$!
    found=""
    for _ in $(seq 100); do
        swaymsg -t get_tree | grep -q "\"app_id\": \"com.quillfen.app\"" && found=1 && break
        sleep 0.1
    done
    kill $pid
    [ -n "$found" ] || { echo "FAIL: the packaged binary opened no window on Wayland"; exit 1; }
    echo "PASS: the packaged binary runs on Wayland"
' package "$root"
