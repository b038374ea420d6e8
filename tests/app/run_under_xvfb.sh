#!/bin/sh
# Runs a test program on a private X server. Without xvfb-run (./dev installs it) the test is
# skipped with a message; CTest reads exit status 77 as skipped.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIPPED: xvfb-run is not installed (package xvfb); the X11 clipboard test needs it." >&2
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
