#!/bin/sh
# Runs a test program on a private X server and a private session bus. Without xvfb-run or
# dbus-run-session (./dev installs both) the test is skipped with a message; CTest reads exit
# status 77 as skipped.
for tool in xvfb-run dbus-run-session xclip; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed; the session bus test needs it." >&2
        exit 77
    fi
done
config="$(dirname "$0")/../private-session-bus.conf"
exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session --config-file="$config" -- "$@"
