#!/usr/bin/env bash
# Runs the window's Wayland tests that need a seat (a pointer and a keyboard) on a Weston of their
# own: Weston inside Xvfb with its X11 backend, whose input is the X server's, and its kiosk
# shell, which shows the window full size from the top-left corner of the output; the tests move
# the X pointer with xdotool. Everything is stopped afterwards. Fails when the tests did not run.
#   run_with_seat_on_weston.sh TESTS FILTER
set -euo pipefail
if [ -z "${QUILL_INSIDE_XVFB:-}" ]; then
    exec env QUILL_INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
tests=$1
filter=$2
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=wayland-quill-$$
weston --backend=x11-backend.so --shell=kiosk-shell.so --width=1200 --height=760 --socket="$socket" \
    --idle-time=0 --no-config >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
output=$(WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QUILL_WAYLAND_SEAT=1 "$tests" --gtest_filter="$filter" 2>&1) || {
    echo "$output"
    exit 1
}
echo "$output" | grep -E '^\[ +(OK|PASSED|SKIPPED) +\]'
if ! echo "$output" | grep -q '^\[  PASSED  \]' || echo "$output" | grep -q '^\[  SKIPPED \]'; then
    echo "the tests did not run on Weston:"
    echo "$output"
    exit 1
fi
