#!/bin/sh
# Runs one command (a test, a benchmark, the screenshots, the installed
# package) headless inside a private D-Bus session with a throwaway HOME, so
# nothing touches the developer's own bus, keyring, preferences or sound
# server.
#
#   run-in-session.sh [--keyring] [--pulseaudio] [--] command [args...]
#
# --keyring     start GNOME Keyring unlocked, serving org.freedesktop.secrets
# --pulseaudio  start a private PulseAudio with a null sink named q_null
# --system-bus  start a private bus that stands in for the system bus (else
#               there is none)
# --services DIR  the session bus starts the services described in DIR on
#               demand (else it starts none)
# --x11         start a private X server (Xvfb), with no system tray
# --tray        the same X server with a system tray (trayer)
# --a11y        the accessibility bus (AT-SPI), with Qt exposing its
#               accessibility tree on it; on the private X server unless
#               --sway is given
# --gnome       GNOME Shell nested in the private X server (as a Wayland
#               compositor, with XWayland), with a private system bus and the
#               AppIndicator extension (a StatusNotifierItem host) enabled in
#               the session's own settings (a key file), and unsafe mode on
#               so that tests can ask the shell what it shows (Eval)
# --sway        a headless Wayland compositor (sway), with no tray: the
#               command starts waybar (a StatusNotifierItem host) when it
#               wants one; SWAYSOCK reaches the compositor
# --kwin        KDE's compositor (kwin_wayland) nested in the private X
#               server, with kded5 serving the StatusNotifierItem watcher (no
#               Plasma panel: a test drives the item over D-Bus as the panel
#               would); KWIN_LOG names the compositor's log, where the
#               scripts a test loads into it print
# --kwin-x11    the same with KDE's X11 window manager (kwin_x11) on the
#               private X server instead
set -eu

keyring=0
pulse=0
a11y=0
x11=0
tray=0
system_bus=0
sway=0
gnome=0
kwin=0
services=""
while [ $# -gt 0 ]; do
    case "$1" in
        --keyring) keyring=1; shift ;;
        --pulseaudio) pulse=1; shift ;;
        --x11) x11=1; shift ;;
        --system-bus) system_bus=1; shift ;;
        --services) services=$2; shift 2 ;;
        --tray) x11=1; tray=1; shift ;;
        --a11y) a11y=1; shift ;;
        --sway) sway=1; shift ;;
        --gnome) gnome=1; x11=1; system_bus=1; shift ;;
        --kwin) kwin=wayland; x11=1; shift ;;
        --kwin-x11) kwin=x11; x11=1; shift ;;
        --) shift; break ;;
        *) break ;;
    esac
done

if [ "$a11y" = 1 ] && [ "$sway" = 0 ]; then x11=1; fi

root=$(mktemp -d "${TMPDIR:-/tmp}/quillfen-test.XXXXXX")
xvfb=""
compositor=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ -n "$compositor" ] && kill "$compositor" 2>/dev/null
    [ -s "$root/system-bus.pid" ] && kill "$(cat "$root/system-bus.pid")" 2>/dev/null
    # Started inside the session, and left spinning if it ends early.
    [ -s "$root/run/kde.pids" ] && kill $(cat "$root/run/kde.pids") 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkdir -p "$root/home" "$root/run" "$root/config" "$root/data" "$root/cache"
chmod 700 "$root/run"

# Set before the bus starts: services it launches inherit this environment.
export HOME="$root/home"
export XDG_RUNTIME_DIR="$root/run"
export XDG_CONFIG_HOME="$root/config"
export XDG_DATA_HOME="$root/data"
export XDG_CACHE_HOME="$root/cache"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export QT_QUICK_BACKEND="${QT_QUICK_BACKEND:-software}"
export QT_QUICK_CONTROLS_STYLE="${QT_QUICK_CONTROLS_STYLE:-Fusion}"
unset DBUS_SESSION_BUS_ADDRESS DISPLAY WAYLAND_DISPLAY SWAYSOCK PULSE_SERVER
export QUILLFEN_SESSION_TOOLS="$(cd "$(dirname "$0")" && pwd)"
export QUILLFEN_TEST_KEYRING=$keyring QUILLFEN_TEST_PULSE=$pulse QUILLFEN_TEST_A11Y=$a11y QUILLFEN_TEST_GNOME=$gnome
export QUILLFEN_TEST_KWIN=$kwin
[ "$a11y" = 1 ] && export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$root/run/no-system-bus"
if [ "$system_bus" = 1 ]; then
    dbus-daemon --config-file="$(cd "$(dirname "$0")" && pwd)/session-bus.conf" --fork \
        --address="$DBUS_SYSTEM_BUS_ADDRESS" --print-pid=3 3>"$root/system-bus.pid" >/dev/null
fi

if [ "$x11" = 1 ]; then
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$root/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$root/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$root/display")"
    export QT_QPA_PLATFORM=xcb
fi
if [ "$sway" = 1 ]; then
    # sway refuses to run as root: then it runs as an unprivileged user in a
    # runtime folder of its own, and the clients reach it by the socket's path.
    sway_run="$root/sway-run"
    mkdir -p "$sway_run"
    as_user=""
    if [ "$(id -u)" = 0 ]; then
        id quillfen-session >/dev/null 2>&1 || useradd --system --no-create-home quillfen-session
        chown quillfen-session "$sway_run"
        chmod 711 "$root"
        as_user="runuser -u quillfen-session --"
    fi
    chmod 700 "$sway_run"
    $as_user env -i PATH="$PATH" HOME="$sway_run" XDG_RUNTIME_DIR="$sway_run" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$(cd "$(dirname "$0")" && pwd)/sway.conf" >"$root/sway.log" 2>&1 &
    compositor=$!
    for _ in $(seq 100); do [ -S "$sway_run/wayland-1" ] && ls "$sway_run"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.1; done
    [ -S "$sway_run/wayland-1" ] || { echo "sway did not start:"; cat "$root/sway.log"; exit 1; }
    export WAYLAND_DISPLAY="$sway_run/wayland-1"
    SWAYSOCK=$(ls "$sway_run"/sway-ipc.*.sock)
    export SWAYSOCK
    export QT_QPA_PLATFORM=wayland
fi
if [ "$tray" = 1 ]; then
    trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
fi

here=$(cd "$(dirname "$0")" && pwd)
bus_config="$here/session-bus.conf"
if [ -n "$services" ]; then
    bus_config="$root/session-bus.conf"
    sed "s#</busconfig>#  <servicedir>$services</servicedir>\n</busconfig>#" "$here/session-bus.conf" >"$bus_config"
fi
dbus-run-session --config-file="$bus_config" -- sh -c '
    set -e
    if [ "$QUILLFEN_TEST_KEYRING" = 1 ]; then
        # Unlocked at start: a store against a locked keyring waits for a
        # password prompt that never comes.
        printf pw | gnome-keyring-daemon --unlock --components=secrets >/dev/null 2>&1
        # Ready once the default collection exists: until then a save fails.
        for _ in $(seq 50); do
            dbus-send --session --print-reply --dest=org.freedesktop.secrets /org/freedesktop/secrets \
                org.freedesktop.Secret.Service.ReadAlias string:default 2>/dev/null \
                | grep -q "object path \"/org/freedesktop/secrets/collection/" && break
            sleep 0.1
        done
    fi
    if [ "$QUILLFEN_TEST_PULSE" = 1 ]; then
        pulseaudio -n --daemonize=yes --exit-idle-time=-1 --system=false \
            -L "module-native-protocol-unix auth-anonymous=1" \
            -L "module-null-sink sink_name=q_null" >/dev/null 2>&1
        for _ in 1 2 3 4 5 6 7 8 9 10; do pactl info >/dev/null 2>&1 && break; sleep 0.2; done
    fi
    if [ "$QUILLFEN_TEST_A11Y" = 1 ]; then
        /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
        for _ in $(seq 50); do
            dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress                 >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    if [ "$QUILLFEN_TEST_GNOME" = 1 ]; then
        export GSETTINGS_BACKEND=keyfile XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
        gsettings set org.gnome.shell disable-user-extensions false
        # Tests read what the shell shows through Eval, which needs unsafe mode.
        mkdir -p "$XDG_DATA_HOME/gnome-shell/extensions"
        cp -r "$QUILLFEN_SESSION_TOOLS/gnome-unsafe-mode" "$XDG_DATA_HOME/gnome-shell/extensions/unsafe-mode@quillfen.app"
        gsettings set org.gnome.shell enabled-extensions \
            "[\"ubuntu-appindicators@ubuntu.com\", \"unsafe-mode@quillfen.app\"]"
        # No welcome tour, and no banner that the screen cannot lock: each
        # comes at a moment of its own, over what a test clicks.
        gsettings set org.gnome.shell welcome-dialog-last-shown-version 999
        mkdir -p "$XDG_DATA_HOME/gnome-shell"
        : >"$XDG_DATA_HOME/gnome-shell/lock-warning-shown"
        # As large as the X server: on a small output GNOME maximizes the main
        # window, and Qt 6.4 now and then keeps drawing it at its first size.
        MUTTER_DEBUG_DUMMY_MODE_SPECS=1280x800 gnome-shell --nested --wayland >"$XDG_RUNTIME_DIR/gnome-shell.log" 2>&1 &
        for _ in $(seq 100); do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.ListNames \
                | grep -q org.kde.StatusNotifierWatcher && break
            sleep 0.2
        done
        # The shell starts in the overview: it is left once the shell has
        # started and answers (0 when ready, else 1).
        for _ in $(seq 100); do
            dbus-send --session --print-reply=literal --dest=org.gnome.Shell /org/gnome/Shell org.gnome.Shell.Eval \
                "string:const m = imports.ui.main; m.layoutManager._startingUp ? 1 : (m.overview.hide(), m.overview.visible ? 1 : 0)" \
                2>/dev/null | grep -q "^ *0$" && break
            sleep 0.2
        done
        export WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=wayland
    fi
    if [ "$QUILLFEN_TEST_KWIN" != 0 ]; then
        export KWIN_LOG="$XDG_RUNTIME_DIR/kwin.log" XDG_CURRENT_DESKTOP=KDE
        if [ "$QUILLFEN_TEST_KWIN" = x11 ]; then
            QT_QPA_PLATFORM=xcb kwin_x11 >"$KWIN_LOG" 2>&1 &
            echo $! >>"$XDG_RUNTIME_DIR/kde.pids"
        else
            # The packaged binary carries a file capability that a container
            # may refuse to grant; a copy carries none.
            cp /usr/bin/kwin_wayland "$XDG_RUNTIME_DIR/kwin_wayland"
            export XDG_SESSION_TYPE=wayland
            KWIN_COMPOSE=Q QT_QPA_PLATFORM=offscreen "$XDG_RUNTIME_DIR/kwin_wayland" --x11-display "$DISPLAY" \
                --socket wayland-kde --width 1280 --height 800 --no-lockscreen >"$KWIN_LOG" 2>&1 &
            echo $! >>"$XDG_RUNTIME_DIR/kde.pids"
            for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-kde" ] && break; sleep 0.1; done
            export WAYLAND_DISPLAY=wayland-kde QT_QPA_PLATFORM=wayland
        fi
        for _ in $(seq 100); do
            dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.freedesktop.DBus.Peer.Ping \
                >/dev/null 2>&1 && break
            sleep 0.1
        done
        # kded runs kconf_update first, whose scripts wait for the activity
        # manager.
        QT_QPA_PLATFORM=offscreen /usr/lib/x86_64-linux-gnu/libexec/kactivitymanagerd \
            >"$XDG_RUNTIME_DIR/activities.log" 2>&1 &
        echo $! >>"$XDG_RUNTIME_DIR/kde.pids"
        QT_QPA_PLATFORM=offscreen kded5 >"$XDG_RUNTIME_DIR/kded.log" 2>&1 &
        echo $! >>"$XDG_RUNTIME_DIR/kde.pids"
        # Outside a Plasma session kded does not start the watcher by itself.
        for _ in $(seq 100); do
            dbus-send --session --print-reply --dest=org.kde.kded5 /kded org.kde.kded5.loadModule \
                string:statusnotifierwatcher >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    status=0
    "$@" || status=$?
    # Only the daemons of this session: they share its runtime folder.
    for pid in $(pgrep -x gnome-keyring-d; pgrep -x pulseaudio; pgrep -x at-spi-bus-laun; pgrep -x at-spi2-registr; pgrep -x gnome-shell; pgrep -x kwin_wayland; pgrep -x kwin_x11; pgrep -x kded5; pgrep -x kactivitymanage) ; do
        if grep -qz "^XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR\$" "/proc/$pid/environ" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
        fi
    done
    exit $status
' quillfen-test "$@"
