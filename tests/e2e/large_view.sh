#!/usr/bin/env bash
# End-to-end: the real program under Xvfb opens its large view with Ctrl+L,
# the view is resized, the main window's Next button steps to the next file,
# and the view must then show that file exactly as `--export` draws it at the
# same size. Usage: large_view.sh <tracely executable>
set -euo pipefail

compare_bin=/usr/bin/compare   # ImageMagick
convert_bin=/usr/bin/convert
view_width=640
view_height=480

write_data() {
  local dir=$1
  mkdir -p "$dir"
  { echo "# time U_out[mV]"; awk 'BEGIN { for (x = 0; x <= 200; x++) print x * 0.01, sin(x / 20) }'; } >"$dir/a.dat"
  { echo "# time U_out[mV]"; awk 'BEGIN { for (x = 0; x <= 200; x++) print x * 0.01, (x % 50) / 10 }'; } >"$dir/b.dat"
}

# Waits up to 10 s for window $1's title to start with $2.
wait_title() {
  local title
  for _ in $(seq 1 50); do
    title=$(xdotool getwindowname "$1" 2>/dev/null || true)
    case $title in "$2"*) return 0 ;; esac
    sleep 0.2
  done
  echo "FAIL: the view's title is \"$title\", not \"$2...\""
  return 1
}

session() {
  local work=$1 win view geometry differing total
  cd "$work/data"
  QT_QPA_PLATFORM=xcb "$work/bin/tracely" a.dat >"$work/app.log" 2>&1 &
  app_pid=$!
  trap 'kill "$app_pid" 2>/dev/null || true' EXIT
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tracely$' | head -n 1)
  [ -n "$win" ] || { echo "FAIL: the window did not appear"; cat "$work/app.log"; return 1; }
  xdotool windowfocus --sync "$win"
  sleep 0.5
  xdotool key ctrl+l
  view=$(timeout 20 xdotool search --sync --onlyvisible --name '^a\.dat' | head -n 1) || true
  [ -n "$view" ] || { echo "FAIL: Ctrl+L did not open the large view"; cat "$work/app.log"; return 1; }
  echo "PASS: Ctrl+L opens the large view on a.dat"

  # Beside the main window, so that the click below reaches its button.
  xdotool windowmove --sync "$view" 500 0
  xdotool windowsize --sync "$view" "$view_width" "$view_height"
  geometry=$(xdotool getwindowgeometry "$view" | awk '/Geometry/ { print $2 }')
  [ "$geometry" = "${view_width}x${view_height}" ] || { echo "FAIL: the view is $geometry after resizing"; return 1; }
  echo "PASS: the view resizes to $geometry"

  # The main window's Next button (client 296,338, 75 x 25).
  xdotool mousemove --window "$win" 333 350 click 1
  wait_title "$view" "b.dat"
  echo "PASS: Next in the main window steps the view to b.dat"

  # The view repaints at most once per frame: give it a few.
  sleep 1
  import -window "$view" "$work/view.png"
  "$work/bin/tracely" --export "$work/export.png" --size "${view_width}x${view_height}" b.dat
  "$convert_bin" "$work/view.png" -alpha off "$work/view.ppm"
  "$convert_bin" "$work/export.png" -alpha off "$work/export.ppm"
  differing=$("$compare_bin" -metric AE "$work/view.ppm" "$work/export.ppm" null: 2>&1 || true)
  total=$((view_width * view_height))
  # Text may be hinted a little differently on the offscreen platform; the
  # traces, axes and legend must be the same.
  if ! [[ $differing =~ ^[0-9]+$ ]] || [ "$differing" -gt $((total / 200)) ]; then
    echo "FAIL: the view and --export differ in $differing of $total pixels"
    [ -z "${TRACELY_E2E_KEEP:-}" ] || cp "$work/view.png" "$work/export.png" "$TRACELY_E2E_KEEP"
    return 1
  fi
  [ -z "${TRACELY_E2E_KEEP:-}" ] || cp "$work/view.png" "$TRACELY_E2E_KEEP"
  echo "PASS: the view shows b.dat as --export draws it ($differing of $total pixels differ)"
}

source "$(dirname "$0")/session.sh"
run_session "$0" 1280x1024 "$@"
