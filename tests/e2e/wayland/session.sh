#!/usr/bin/env bash
# session.sh PROGRAM [ARGUMENT...]: runs PROGRAM in a session of its own, in a private runtime
# folder that is also its HOME and TMPDIR, with a session bus ("bus" there) that starts nothing on
# demand. Run as root, all runs as the system user orlo-test (created when missing). ORLO_COMPOSITOR
# picks the compositor: sway (the default, headless, no X server), weston (no data-control, no
# seat), mutter (no data-control, a keyboard for a seat, and XWayland, named by ORLO_XWAYLAND and
# ORLO_XAUTHORITY), or none (a test run as another user): no bus, no compositor, only the user and folder.
#
# PROGRAM gets WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR, HOME, TMPDIR, LANG=C.UTF-8,
# ORLO_OTHER_DISPLAY (the X server this script was given), this script's ORLO_* variables,
# QT_QPA_PLATFORM and the sanitizers' settings; PROGRAM, the ORLO_*_BIN programs and suppression
# files are copied where that user may read them. Exits with PROGRAM's status, or 77 (skipped) when
# a tool is missing. Everything started is killed by process group.
set -euo pipefail

skip() { echo "skipped: $* is not installed" >&2; exit 77; }
compositor="${ORLO_COMPOSITOR:-sway}"
tools=("$compositor" wl-copy wl-paste dbus-daemon)
[ "$compositor" != none ] || tools=()
[ "$compositor" != mutter ] || tools+=(Xwayland)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || skip "$tool"
done
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || skip setpriv
    id orlo-test >/dev/null 2>&1 || useradd --system --no-create-home --home-dir /nonexistent \
        --shell /usr/sbin/nologin orlo-test
    as_user=(setpriv --reuid="$(id -u orlo-test)" --regid="$(id -g orlo-test)" --init-groups)
fi

RUN="$(mktemp -d "${TMPDIR:-/tmp}/orlo-wayland-XXXXXX")" # mode 0700
[ "${#as_user[@]}" -eq 0 ] || chown orlo-test: "$RUN"
groups=()
stop() {
    exec 2>/dev/null # no word from bash on each group killed
    for group in "${groups[@]}"; do kill -KILL -- "-$group" || true; done
    wait || true
    # What mutter removes when it ends well: its X displays' locks and sockets.
    for lock in $([ -z "${mutter:-}" ] || grep -lw "$mutter" /tmp/.X*-lock); do
        number="${lock#/tmp/.X}" && rm -f "$lock" "/tmp/.X11-unix/X${number%-lock}"
    done
    rm -rf "$RUN"
}
trap stop EXIT
trap 'exit 143' TERM INT HUP

environment=(PATH="$PATH" HOME="$RUN" XDG_RUNTIME_DIR="$RUN" TMPDIR="$RUN" LANG=C.UTF-8
    DBUS_SESSION_BUS_ADDRESS="unix:path=$RUN/bus")
# Starts a program of the session in the background, in a process group of its own.
in_session() {
    set -m
    "${as_user[@]}" env -i "${environment[@]}" "$@" &
    set +m
    groups+=("$!")
}
mkdir "$RUN/bin"
program() { install -m 0755 "$1" "$RUN/bin/" && printf '%s' "$RUN/bin/${1##*/}"; }
for name in $(compgen -e ORLO_); do
    value="${!name}"
    [[ "$name" != *_BIN ]] || value="$(program "$value")"
    environment+=("$name=$value")
done
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS QT_QPA_PLATFORM; do
    value="${!name:-}"
    if [[ "$value" =~ (^|:)suppressions=([^:]*) ]]; then
        cp "${BASH_REMATCH[2]}" "$RUN/$name.supp"
        value="${value/"${BASH_REMATCH[0]}"/${BASH_REMATCH[1]}suppressions=$RUN/$name.supp}"
    fi
    [ -z "$value" ] || environment+=("$name=$value")
done
run() {
    in_session "$(program "$1")" "${@:2}"
    wait "$!" || exit # with PROGRAM's status
    exit 0
}
[ "$compositor" != none ] || run "$@"
# socket PID PATTERN: waits while PID runs for a socket that PATTERN matches; prints its path.
socket() {
    for _ in $(seq 300); do
        for found in $2; do [ -S "$found" ] && printf '%s' "$found" && return; done
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

cat >"$RUN/bus.conf" <<EOF
<busconfig><type>session</type><listen>unix:path=$RUN/bus</listen><policy context="default">
  <allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>
EOF
in_session dbus-daemon --config-file="$RUN/bus.conf" --nofork
socket $! "$RUN/bus" >/dev/null || { echo "the session bus did not come up" >&2; exit 1; }

if [ "$compositor" = weston ]; then
    in_session weston --backend=headless-backend.so --socket=wayland-1 --width=1024 \
        --height=768 2>"$RUN/compositor.log"
elif [ "$compositor" = mutter ]; then
    in_session mutter --headless --wayland --wayland-display wayland-1 \
        --virtual-monitor 1280x800 >"$RUN/compositor.log" 2>&1
else
    printf 'xwayland disable\n' >"$RUN/sway.config"
    in_session WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$RUN/sway.config" 2>"$RUN/compositor.log"
fi
if ! display="$(socket $! "$RUN/wayland-*")" ||
    { [ "$compositor" = sway ] && ! ipc="$(socket $! "$RUN/sway-ipc.*")"; }; then
    cat "$RUN/compositor.log" >&2
    echo "$compositor did not come up" >&2
    exit 1
fi
environment+=(WAYLAND_DISPLAY="${display##*/}" SWAYSOCK="${ipc:-}"
    ORLO_OTHER_DISPLAY="${DISPLAY:-}")
if [ "$compositor" = mutter ]; then
    # XWayland is mutter's child, on a display mutter picked.
    mutter=$!
    for _ in $(seq 100); do
        xwayland="$(pgrep -P "$mutter" -x Xwayland)" &&
            auth="$(ls "$RUN"/.mutter-Xwaylandauth.* 2>/dev/null)" && break
        sleep 0.1
    done
    xdisplay="$(tr '\0' '\n' <"/proc/${xwayland:?XWayland did not start}/cmdline" | grep -m1 '^:')"
    environment+=(ORLO_XWAYLAND="$xdisplay" ORLO_XAUTHORITY="$auth")
    # Without a keyboard wl-copy has no seat: a remote desktop's, kept open.
    in_session python3 -c '
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
name = "org.gnome.Mutter.RemoteDesktop"
call = lambda path, interface, method, arguments=None: bus.call_sync(name, path,
    name + interface, method, arguments, None, 0, -1, None)
session = call("/org/gnome/Mutter/RemoteDesktop", "", "CreateSession")[0]
call(session, ".Session", "Start")
for pressed in (True, False):
    call(session, ".Session", "NotifyKeyboardKeysym", GLib.Variant("(ub)", (0xffe1, pressed)))
print("keyboard", flush=True)
GLib.MainLoop().run()' >"$RUN/keyboard"
    timeout 10 sh -c "until grep -q keyboard '$RUN/keyboard'; do sleep 0.1; done" ||
        { echo "mutter gave no keyboard" >&2; exit 1; }
fi

run "$@"
