#!/usr/bin/env bash
# Runs the window's Wayland tests on a headless Weston of their own, with a runtime directory
# of their own; the compositor is stopped afterwards. Fails when the tests did not run on it.
set -euo pipefail
tests=$1
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=wayland-quill-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --no-config >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
# A headless Weston has no seat, and Qt 6.4's Wayland text input then dereferences the missing
# input device when a line edit draws its cursor: no input method here (a desktop has a seat).
output=$(WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QT_IM_MODULE=none "$tests" --gtest_filter='Wayland.*' 2>&1) || {
    echo "$output"
    exit 1
}
echo "$output" | grep -E '^\[ +(OK|PASSED|SKIPPED) +\]'
if ! echo "$output" | grep -q '^\[  PASSED  \]' || echo "$output" | grep -q '^\[  SKIPPED \]'; then
    echo "the Wayland test did not run on Weston:"
    echo "$output"
    exit 1
fi
