#!/usr/bin/env bash
# Runs the window's Wayland tests (a test binary and a gtest filter) on a Weston of their own,
# with a runtime directory of their own; the compositor is stopped afterwards. Fails when the
# tests did not run on it.
#   run_on_weston.sh TESTS FILTER          a headless Weston
#   run_on_weston.sh --seat TESTS FILTER   Weston inside Xvfb with its X11 backend, whose seat is
#                                          the X server's pointer and keyboard (the tests move it
#                                          with xdotool), and its kiosk shell, which shows the
#                                          window full size from the output's top-left corner
set -euo pipefail
seat=""
if [ "$1" = --seat ]; then
    seat=yes
    shift
    if [ -z "${QUILL_INSIDE_XVFB:-}" ]; then
        exec env QUILL_INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" --seat "$@"
    fi
fi
tests=$1
filter=$2
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=wayland-quill-$$
if [ -n "$seat" ]; then
    backend=(--backend=x11-backend.so --shell=kiosk-shell.so --width=1200 --height=760)
    client=(QUILL_WAYLAND_SEAT=1)
else
    backend=(--backend=headless-backend.so)
    # A headless Weston has no seat, and Qt 6.4's Wayland text input then dereferences the
    # missing input device when a line edit draws its cursor: no input method there (a desktop,
    # like the Weston with a seat, has one).
    client=(QT_IM_MODULE=none)
fi
weston "${backend[@]}" --socket="$socket" --idle-time=0 --no-config >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
output=$(env WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "${client[@]}" "$tests" --gtest_filter="$filter" 2>&1) || {
    echo "$output"
    exit 1
}
echo "$output" | grep -E '^\[ +(OK|PASSED|SKIPPED) +\]'
if ! echo "$output" | grep -q '^\[  PASSED  \]' || echo "$output" | grep -q '^\[  SKIPPED \]'; then
    echo "the Wayland tests did not run on Weston:"
    echo "$output"
    exit 1
fi
