#!/usr/bin/env bash
# Runs keyring tests (a test binary and a gtest filter) against a real Secret Service: gnome-keyring on a D-Bus session bus of
# their own (dbus-run-session), its login keyring made and unlocked with a password the script
# gives; everything it keeps lives in a throw-away home and goes with it. The daemon ends with
# its bus.
set -euo pipefail
tests=$1
filter=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_RUNTIME_DIR=$home/run QUILL_TEST_KEYRING=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- bash -c '
    printf "quill-test\n" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    exec "$0" --gtest_filter="$1"' "$tests" "$filter" 2> >(grep -v "Failed to set fd limit" >&2)
