#!/bin/sh
# The program as a native Wayland client: a headless weston is the session,
# the program opens an example file there, shows and paints its window,
# writes it to a PNG and must exit with status 0. The picture must be the one
# the offscreen platform paints for the same file, so the window really
# showed the file's traces.
# Usage: wayland-window.sh <tracely> <make-example-data.sh>
set -eu
app=$1 make_data=$2
work=$(mktemp -d)
weston_pid=
cleanup() {
  [ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true
  [ -z "$weston_pid" ] || wait "$weston_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private copy: settings written beside the executable stay in here.
mkdir -p "$work/bin" "$work/config"
cp "$app" "$work/bin/tracely"
bash "$make_data" "$work/data" >/dev/null
# weston refuses a runtime directory that others may enter.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" HOME="$work"
unset DISPLAY WAYLAND_DISPLAY

weston --backend=headless-backend.so --socket=wayland-tracely --idle-time=0 --no-config \
  >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do [ -S "$work/run/wayland-tracely" ] && break; sleep 0.1; done
if [ ! -S "$work/run/wayland-tracely" ]; then
  echo "FAIL: weston did not start"; cat "$work/weston.log"; exit 1
fi

status=0
WAYLAND_DISPLAY=wayland-tracely QT_QPA_PLATFORM=wayland TRACELY_SCREENSHOT="$work/wayland.png" \
  timeout 60 "$work/bin/tracely" "$work/data/run03.dat" >"$work/app.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: the program exited with status $status under Wayland"; cat "$work/app.log"; exit 1
fi
QT_QPA_PLATFORM=offscreen TRACELY_SCREENSHOT="$work/offscreen.png" \
  timeout 60 "$work/bin/tracely" "$work/data/run03.dat" >/dev/null 2>&1

# ImageMagick prints the number of differing pixels on stderr.
differing=$(compare -metric AE "$work/wayland.png" "$work/offscreen.png" null: 2>&1 || true)
if [ "$differing" != 0 ]; then
  echo "FAIL: the Wayland window differs from the offscreen picture in $differing pixels"
  cat "$work/app.log"; exit 1
fi
kill -0 "$weston_pid" || { echo "FAIL: weston went away"; cat "$work/weston.log"; exit 1; }
echo "PASS: run03.dat shown under Wayland ($(identify -format '%wx%h' "$work/wayland.png"))"
