#!/bin/sh
# Installs the Debian packages Quillfen needs to build, run and test.
# Idempotent: when every package is present it returns without touching apt.
set -eu

BUILD_PACKAGES="g++ cmake ninja-build pkg-config git
qt6-base-dev qt6-declarative-dev qt6-declarative-dev-tools
qml6-module-qtqml qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtqml-workerscript
qml6-module-qttest qt6-multimedia-dev qml6-module-qtmultimedia qt6-svg-dev qt6-qpa-plugins
qcoro-qt6-dev libsecret-1-dev libicu-dev libxcb1-dev libbenchmark-dev fonts-dejavu-core
qt6-tools-dev qt6-l10n-tools
qt6-base-private-dev qt6-wayland-dev qt6-wayland-dev-tools plasma-wayland-protocols"

TEST_PACKAGES="xvfb xauth imagemagick dbus dbus-x11 gnome-keyring libsecret-tools
dunst libnotify-bin trayer pulseaudio pulseaudio-utils sox xdotool x11-utils
dpkg-dev desktop-file-utils appstream at-spi2-core python3-pyatspi
sway waybar grim qt6-wayland python3-dbus
gnome-shell gnome-shell-extension-appindicator
kwin-wayland kwin-x11 kded5 kactivitymanagerd plasma-workspace python3-gi gir1.2-gtk-3.0"

FUZZ_PACKAGES="clang llvm"

FORMAT_PACKAGES="clang-format"

packages="$BUILD_PACKAGES"
for option in "$@"; do
    case $option in
        --with-tests) packages="$packages $TEST_PACKAGES" ;;
        --with-fuzzing) packages="$packages $FUZZ_PACKAGES" ;;
        --with-formatting) packages="$packages $FORMAT_PACKAGES" ;;
        *) echo "usage: $0 [--with-tests] [--with-fuzzing] [--with-formatting]" >&2; exit 2 ;;
    esac
done

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
