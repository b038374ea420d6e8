#!/bin/sh
# Runs a test program on a private session bus that starts no services. Without
# dbus-run-session (./dev installs package dbus) the test is skipped with a message; CTest reads
# exit status 77 as skipped.
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "SKIPPED: dbus-run-session is not installed (package dbus); the reveal test needs it." >&2
    exit 77
fi
exec dbus-run-session --config-file="$(dirname "$0")/private-session-bus.conf" -- "$@"
