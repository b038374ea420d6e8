#!/bin/sh
# A call to org.velquor.Velquor on a session bus where Velquor is not running starts it through
# an activation file, as the installed one does, and gets the cleaned text back. The bus is
# private and offscreen; without dbus-run-session and dbus-send (package dbus) the test is
# skipped (exit status 77).
set -eu
velquor="$1"
for tool in dbus-run-session dbus-send; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed; ./dev installs package dbus." >&2
        exit 77
    fi
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/services"
cat >"$work/services/org.velquor.Velquor.service" <<SERVICE
[D-BUS Service]
Name=org.velquor.Velquor
Exec=$velquor --service
SERVICE
cat >"$work/bus.conf" <<CONFIG
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONFIG
cat >"$work/call.sh" <<'CALL'
#!/bin/sh
text="$(printf ' a\342\200\213b https://x.org/?utm_source=z ')"
reply="$(dbus-send --session --print-reply=literal --reply-timeout=30000 --dest=org.velquor.Velquor \
    /org/velquor/Velquor org.velquor.Velquor1.CleanSelectedText "string:$text")"
status=$?
dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.velquor.Velquor 2>/dev/null |
    awk '/uint32/ { print $2 }' | xargs -r kill
[ $status -eq 0 ] || exit 1
# --print-reply=literal indents the string by three spaces.
if [ "$reply" != "    ab https://x.org/ " ]; then
    echo "FAIL: the reply was [$reply]" >&2
    exit 1
fi
CALL
chmod +x "$work/call.sh"
QT_QPA_PLATFORM=offscreen dbus-run-session --config-file="$work/bus.conf" -- "$work/call.sh"
