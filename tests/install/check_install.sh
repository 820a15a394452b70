#!/usr/bin/env bash
# Installs a build into a scratch root as a package would, then checks what a
# desktop and a software centre read from it:
#   check_install.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
id=org.quorel.quorel
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$root/usr/bin/quorel" ] || fail "no program in bin"

# Clean means not even a hint.
out="$(desktop-file-validate "$share/applications/$id.desktop" 2>&1)" || fail "$out"
[ -z "$out" ] || fail "desktop entry: $out"
appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml" ||
  fail "AppStream data"
appstreamcli validate-tree --no-net "$root" || fail "installed tree"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
  fail "no release entry for $version"

# The menu entry starts the installed program and shows the installed icon.
entry="$share/applications/$id.desktop"
[ "$(sed -n 's/^Exec=//p' "$entry")" = quorel ] || fail "Exec is not the installed program"
[ "$(sed -n 's/^Icon=//p' "$entry")" = "$id" ] || fail "Icon is not the installed icon"

# The icon: scalable, and every PNG as large as its folder says.
[ -s "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no SVG icon"
for size in 16 22 24 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -s "$png" ] || fail "no $size px icon"
  wh="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$wh" = "${size}x${size}" ] || fail "$png is $wh"
done
echo "installed tree of $version is valid"
