#!/usr/bin/env bash
# End-to-end: the real program under Xvfb with its large view open. A
# rectangle dragged over the plot with the real mouse zooms the view; the
# view's picture must then be what --export draws at the limits that
# rectangle stands for, worked out here from the plot's frame in a
# screenshot and the view's value-to-pixel rule.
# Usage: e2e_view_zoom.sh <tracely executable>
set -euo pipefail

convert_bin=/usr/bin/convert   # ImageMagick itself
compare_bin=/usr/bin/compare

write_data() {
  local dir=$1
  mkdir -p "$dir"
  # Whole numbers for Y: the automatic limits are then exact in float, and
  # the limits below can be worked out in double without a float's rounding.
  awk 'BEGIN { print "# time level"; for (i = 0; i <= 1000; i++) printf "%g %d\n", i / 10, int(50 + 49 * sin(i / 15)) }' \
    >"$dir/a.dat"
}

# Prints "left top right bottom" of the plot area: the frame is the only
# black line that runs along most of a row or a column.
plot_area() {
  "$convert_bin" "$1" -depth 8 txt:- | awk -F'[ ,:()]+' '
    NR > 1 {
      x = $1; y = $2; if (x > maxx) maxx = x; if (y > maxy) maxy = y
      if ($3 + 0 == 0 && $4 + 0 == 0 && $5 + 0 == 0) { col[x]++; row[y]++ }
    }
    END {
      l = -1; r = -1; t = -1; b = -1
      for (x = 0; x <= maxx; x++) if (col[x] > maxy * 0.6) { if (l < 0) l = x; r = x }
      for (y = 0; y <= maxy; y++) if (row[y] > maxx * 0.6) { if (t < 0) t = y; b = y }
      print l + 1, t + 1, r - 1, b - 1
    }'
}

session() {
  work=$1
  cd "$work/data"
  QT_QPA_PLATFORM=xcb "$work/bin/tracely" --view a.dat >"$work/app.log" 2>&1 &
  app_pid=$!
  trap 'kill "$app_pid" 2>/dev/null || true' EXIT
  local win
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^a\.dat — ' | head -n 1)
  [ -n "$win" ] || { echo "FAIL: the large view did not appear"; cat "$work/app.log"; return 1; }
  sleep 1
  import -window "$win" "$work/before.png"
  local left top right bottom
  read -r left top right bottom < <(plot_area "$work/before.png")
  if [ "$left" -le 0 ] || [ "$right" -le "$left" ] || [ "$bottom" -le "$top" ]; then
    echo "FAIL: no plot frame found ($left $top $right $bottom)"; return 1
  fi
  echo "plot area: $left,$top .. $right,$bottom"

  # A rectangle over both axes, well inside the plot.
  local w=$((right - left + 1)) h=$((bottom - top + 1))
  local x1=$((left + w / 5)) y1=$((top + h / 5)) x2=$((left + 3 * w / 5)) y2=$((top + 7 * h / 10))
  xdotool mousemove --window "$win" "$x1" "$y1" mousedown 1
  xdotool mousemove --window "$win" $(((x1 + x2) / 2)) $(((y1 + y2) / 2))
  xdotool mousemove --window "$win" "$x2" "$y2" mouseup 1
  sleep 1
  import -window "$win" "$work/after.png"

  # The view maps pixel p (its top-left corner, where the pointer is) to
  # lower + (p - 0.5 - left) * span / (pixels - 1); Y counts from the bottom.
  local ymin ymax limits
  read -r ymin ymax < <(awk 'NR > 1 { if (NR == 2 || $2 < lo) lo = $2; if (NR == 2 || $2 > hi) hi = $2 } END { print lo, hi }' a.dat)
  limits=$(awk -v l="$left" -v t="$top" -v w="$w" -v h="$h" -v x1="$x1" -v x2="$x2" -v y1="$y1" -v y2="$y2" \
    -v ylo="$ymin" -v yhi="$ymax" 'BEGIN {
      xs = 100 / (w - 1); ys = (yhi - ylo) / (h - 1)
      printf "%.17g:%.17g %.17g:%.17g\n", (x1 - 0.5 - l) * xs, (x2 - 0.5 - l) * xs,
        ylo + (h - 1 - (y2 - 0.5 - t)) * ys, ylo + (h - 1 - (y1 - 0.5 - t)) * ys }')
  local xr=${limits% *} yr=${limits#* }
  echo "zoomed to X $xr, Y1 $yr"
  local size
  size=$("$convert_bin" "$work/after.png" -format '%wx%h' info:)
  "$work/bin/tracely" --export "$work/export.png" --size "$size" --x "$xr" --y1 "$yr" a.dat

  if cmp -s <("$convert_bin" "$work/before.png" -depth 8 rgb:-) <("$convert_bin" "$work/after.png" -depth 8 rgb:-); then
    echo "FAIL: the drag changed nothing"; return 1
  fi
  local differ
  differ=$("$compare_bin" -metric AE "$work/after.png" "$work/export.png" null: 2>&1 || true)
  echo "pixels that differ between the zoomed view and the export: $differ"
  if [ "${differ%% *}" != 0 ]; then
    [ -z "${TRACELY_E2E_KEEP:-}" ] || cp "$work/after.png" "$work/export.png" "$TRACELY_E2E_KEEP"
    echo "FAIL: the zoomed view is not the export at the same limits"
    return 1
  fi
  echo "PASS: the dragged zoom shows what --export draws at its limits"
}

source "$(dirname "$0")/session.sh"
run_session "$0" 1280x1024 "$@"
