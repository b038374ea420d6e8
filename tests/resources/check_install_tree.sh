#!/bin/sh
# Installs the build into a temporary prefix and checks that every desktop-integration file is
# in place and passes the desktops' own validators (desktop-file-validate, appstreamcli). Without
# the validators (packages desktop-file-utils and appstream) the test is skipped; CTest reads
# exit status 77 as skipped.
set -eu
build_dir="$1"
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed; ./dev installs it." >&2
        exit 77
    fi
done
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

status=0
fail() { echo "FAIL: $*" >&2; status=1; }

for file in bin/velquor bin/velquor-cli \
    share/applications/org.velquor.Velquor.desktop \
    share/metainfo/org.velquor.Velquor.metainfo.xml \
    share/dbus-1/services/org.velquor.Velquor.service \
    share/icons/hicolor/scalable/apps/org.velquor.Velquor.svg \
    share/icons/hicolor/48x48/apps/org.velquor.Velquor.png \
    share/icons/hicolor/64x64/apps/org.velquor.Velquor.png \
    share/icons/hicolor/128x128/apps/org.velquor.Velquor.png \
    share/icons/hicolor/256x256/apps/org.velquor.Velquor.png \
    share/man/man1/velquor.1 share/man/man1/velquor-cli.1; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -n "$(find "$prefix" -path '*/velquor/velquor-media.so')" ] || fail "the media module is not installed"

desktop="$prefix/share/applications/org.velquor.Velquor.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the launcher"
grep -qx 'Exec=velquor %F' "$desktop" || fail "the launcher does not run 'velquor %F'"
for type in text/plain text/markdown image/jpeg application/pdf image/svg+xml audio/mpeg video/mp4 \
    application/vnd.openxmlformats-officedocument.wordprocessingml.document \
    application/vnd.oasis.opendocument.text application/epub+zip; do
    grep '^MimeType=' "$desktop" | tr ';=' '\n\n' | grep -qx "$type" || fail "the launcher does not open $type"
done

appstreamcli validate --no-net "$prefix/share/metainfo/org.velquor.Velquor.metainfo.xml" ||
    fail "appstreamcli refuses the metadata"
grep -q '@' "$prefix/share/metainfo/org.velquor.Velquor.metainfo.xml" && fail "the metadata keeps a placeholder"

service="$prefix/share/dbus-1/services/org.velquor.Velquor.service"
grep -qx 'Name=org.velquor.Velquor' "$service" || fail "the activation file names another service"
grep -q '^Exec=/.*/velquor --service$' "$service" || fail "the activation file does not start velquor by its full path"

command -v man >/dev/null 2>&1 && for page in velquor velquor-cli; do
    man -l "$prefix/share/man/man1/$page.1" >/dev/null 2>&1 || fail "man cannot read $page.1"
done
exit "$status"
