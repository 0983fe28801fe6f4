# Shared by ./run, ./test and bench/run: install what is missing, then build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${ORLO_BUILD_DIR:-$ROOT/build}"

# libwayland-dev, libwayland-bin and pkg-config build the Wayland clipboard back end,
# libxcb-xfixes0-dev the X11 clipboard watcher; libtesseract5 and its Chinese and
# English models read the words in pictures (loaded when the program runs, never
# linked); qt6-translations-l10n has Qt's own Chinese words (确定, 取消).
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins fonts-wqy-zenhei
    libwayland-dev libwayland-bin pkg-config libxcb-xfixes0-dev
    libtesseract5 tesseract-ocr-chi-sim tesseract-ocr-eng qt6-translations-l10n)
# The package test needs dpkg-dev (dpkg-shlibdeps), file, desktop-file-utils and lintian.
# sway, wl-clipboard and qt6-wayland make the Wayland session the tests run the program in,
# weston one without data-control; dbus, python3-dbus and python3-gi its session bus and
# the notification area that comes late.
TEST_PACKAGES=(xvfb xclip trayer xdotool x11-utils openbox clang-format dpkg-dev file
    desktop-file-utils lintian sway wl-clipboard qt6-wayland weston dbus python3-dbus
    python3-gi mutter xwayland)
# For the fuzzers; the tests go on without them where they cannot be had.
OPTIONAL_TEST_PACKAGES=(clang libclang-rt-dev)

say() { printf '%s\n' "$*" >&2; }

missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || printf '%s\n' "$pkg"
    done
}

# Installs the given Debian/Ubuntu packages when any is missing.
ensure_packages() {
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        say "This is not a Debian or Ubuntu system, so nothing is installed automatically."
        say "Please install by hand: CMake (3.25 or newer), Ninja, a C++20 compiler and Qt 6 (Widgets),"
        say "and for the tests Xvfb, xclip, trayer, xdotool, x11-utils, openbox, clang-format, dpkg-dev, file, desktop-file-utils and lintian. Then run this again."
        return 0
    fi
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ "${#missing[@]}" -eq 0 ] && return 0
    say "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            say "Missing packages (${missing[*]}) and no sudo to install them: please install them as root."
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    # Another apt (a fresh machine's automatic updates) may hold the locks
    # for a while: wait for it rather than fail. The install waits on the
    # package lock by itself; the lists' lock is waited for here.
    local apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900)
    local try
    for try in $(seq 1 90); do
        "${apt[@]}" update -qq && break
        [ "$try" -eq 90 ] && return 1
        say "apt-get update failed (another apt running?); trying again in 10 s."
        sleep 10
    done
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Like ensure_packages, but carries on when they cannot be installed.
ensure_optional_packages() {
    (ensure_packages "$@") || say "Could not install $*: the tests that need them are skipped."
}

# Configures the release build: once, or again when given settings
# (-DNAME=VALUE) to change.
configure_build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    elif [ "$#" -gt 0 ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" "$@" >/dev/null
    fi
}

# Starts a private X server; sets XVFB_PID and DISPLAY.
start_xvfb() {
    local fdfile
    fdfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        say "Xvfb did not start."
        kill "$XVFB_PID" 2>/dev/null || true
        rm -f "$fdfile"
        return 1
    fi
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY
    rm -f "$fdfile"
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
