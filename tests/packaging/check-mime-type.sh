#!/bin/sh
# The file type as a desktop sees it once the package is installed: the
# build tree is installed into a scratch DESTDIR, the caches are built the way
# the triggers of shared-mime-info and desktop-file-utils build them, and
# GLib (gio) and xdg-utils, pointed at nothing else, must find a .gdw file to
# be text/x-trcfile, opened by the installed desktop entry, while .dat and
# .txt stay with whoever else claims them.
# Usage: check-mime-type.sh <build dir> <app id>
set -eu
build=$1 id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
share=$work/dest/usr/share

# The entry runs "tracely" from PATH (TryExec too); a stub records the call.
mkdir -p "$work/bin" "$work/home"
printf '#!/bin/sh\necho "tracely $*" >> "%s/opened"\n' "$work" >"$work/bin/tracely"
chmod +x "$work/bin/tracely"
export PATH="$work/bin:$PATH" HOME="$work/home" XDG_DATA_HOME="$work/home/data" \
  XDG_CONFIG_HOME="$work/home/config" XDG_DATA_DIRS="$share" XDG_CONFIG_DIRS="$work/etc-xdg" LC_ALL=C
unset XDG_CURRENT_DESKTOP

DESTDIR="$work/dest" cmake --install "$build" --prefix /usr >/dev/null
update-mime-database "$share/mime"
update-desktop-database "$share/applications"

failed=0
expect() {   # what, got, wanted
  if [ "$2" = "$3" ]; then echo "ok: $1 = $3"; else echo "FAIL: $1 is '$2', not '$3'"; failed=1; fi
}
content_type() {
  printf '# run\n0 1\n1 2\n' >"$work/$1"
  gio info -a standard::content-type "$work/$1" | sed -n 's/^ *standard::content-type: //p'
}

expect "gio type of sweep.gdw" "$(content_type sweep.gdw)" text/x-trcfile
expect "gio type of SWEEP.GDW" "$(content_type SWEEP.GDW)" text/x-trcfile
for other in run01.dat notes.txt; do
  type=$(content_type "$other")
  if [ "$type" = text/x-trcfile ]; then echo "FAIL: $other is claimed as text/x-trcfile"; failed=1
  else echo "ok: gio type of $other = $type"; fi
done
expect "xdg-mime type of sweep.gdw" \
  "$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/sweep.gdw")" text/x-trcfile
expect "xdg-mime default for text/x-trcfile" "$(xdg-mime query default text/x-trcfile)" "$id.desktop"
expect "gio default for text/x-trcfile" \
  "$(gio mime text/x-trcfile | sed -n 's/^Default application for .*: //p')" "$id.desktop"

# The double-click itself.
gio open "$work/sweep.gdw" || failed=1
for _ in $(seq 1 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
expect "gio open sweep.gdw runs" "$(cat "$work/opened" 2>/dev/null)" "tracely $work/sweep.gdw"
exit $failed
