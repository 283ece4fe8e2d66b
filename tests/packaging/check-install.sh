#!/bin/sh
# Installs the build tree into a scratch DESTDIR with prefix /usr (the
# package's layout) and compares the file list with the expected manifest.
# Usage: check-install.sh <build dir> <manifest> [png]
# Without "png" the rendered icon sizes are not expected.
set -eu
build=$1 manifest=$2 png=${3:-}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
(cd "$dest/usr" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$dest/actual"
if [ "$png" = png ]; then
  LC_ALL=C sort "$manifest" >"$dest/expected"
else
  grep -v '^share/icons/hicolor/[0-9]*x[0-9]*/' "$manifest" | LC_ALL=C sort >"$dest/expected"
fi
# Anything outside the prefix (an absolute DESTINATION) is a fault as well.
stray=$(cd "$dest" && find . -mindepth 1 -maxdepth 1 ! -name usr ! -name actual ! -name expected)
if [ -n "$stray" ]; then
  echo "installed outside the prefix: $stray" >&2
  exit 1
fi
diff -u "$dest/expected" "$dest/actual"

# The desktop entry, its icon, its program and the metainfo must name each
# other; a mismatch leaves a menu entry without icon or a software centre
# entry that cannot be launched, and no validator looks at the icon.
apps="$dest/usr/share/applications"
desktop=$(ls "$apps"/*.desktop)
icon=$(sed -n 's/^Icon=//p' "$desktop")
tryexec=$(sed -n 's/^TryExec=//p' "$desktop")
[ -f "$dest/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "Icon=$icon: no such icon installed" >&2; exit 1; }
[ -x "$dest/usr/bin/$tryexec" ] || { echo "TryExec=$tryexec: no such program installed" >&2; exit 1; }
appstreamcli validate-tree --no-net "$dest/usr"
