#!/usr/bin/env bash
# End-to-end: the real program under Xvfb. It starts on one example file, a
# second file's name is typed into the file-name box and Enter pressed, and
# the window's picture must show what a user would see: the frame, the
# graticule, the new file's trace at the place its data puts it, and no
# "No data". Usage: typed_name.sh <tracely executable> <make-example-data.sh>
set -euo pipefail

convert_bin=/usr/bin/convert   # ImageMagick itself

# Prints "x y" of Y2 (column 3) of point $2 of data file $1, mapped into the
# plot rectangle (left 70, top 1, 310 x 310) with the limits at the data's
# extremes, the way the window maps it.
expected_pixel() {
  awk -v want="$2" '
    { sub(/\r$/, "") }
    /^#/ { next }
    { line = $0; sub(/^[ \t]+/, "", line) }
    line !~ /^[-+0-9]/ { next }
    {
      n = split(line, v, /[ \t,]+/)
      x[count] = v[1] + 0; y[count] = v[3] + 0
      if (count == 0 || x[count] < xmin) xmin = x[count]
      if (count == 0 || x[count] > xmax) xmax = x[count]
      if (count == 0 || y[count] < ymin) ymin = y[count]
      if (count == 0 || y[count] > ymax) ymax = y[count]
      count++
    }
    END {
      px = 70 + int((x[want] - xmin) / (xmax - xmin) * 310)
      py = 1 + 310 - int((y[want] - ymin) / (ymax - ymin) * 310)
      print px, py
    }' "$1"
}

# True when the 3x3 pixels around ($2, $3) of the screenshot hold the blue of Y2.
blue_near() {
  "$convert_bin" "$1" -crop "3x3+$(($2 - 1))+$(($3 - 1))" -depth 8 txt:- |
    awk 'NR > 1 { c = $2; gsub(/[()]/, "", c); split(c, v, ","); if (v[3] >= 180 && v[1] <= 80 && v[2] <= 80) f = 1 }
         END { exit !f }'
}

# Checks a screenshot; prints what fails and returns non-zero then.
check_picture() {
  local shot=$1 px=$2 py=$3
  "$convert_bin" "$shot" -depth 8 txt:- | awk -v px="$px" -v py="$py" '
    NR == 1 { next }
    {
      split($1, p, /[,:]/); x = p[1] + 0; y = p[2] + 0
      c = $2; gsub(/[()]/, "", c); split(c, rgb, ",")
      r[x "," y] = rgb[1] + 0; g[x "," y] = rgb[2] + 0; b[x "," y] = rgb[3] + 0
      if (x > maxx) maxx = x; if (y > maxy) maxy = y
    }
    function black(k) { return r[k] == 0 && g[k] == 0 && b[k] == 0 }
    function same(k, l) { return r[k] == r[l] && g[k] == g[l] && b[k] == b[l] }
    END {
      bad = 0
      if (maxx != 382 || maxy != 430) { print "window is " maxx + 1 "x" maxy + 1 ", not 383x431"; bad = 1 }
      for (y = 2; y <= 310; y++) { left += black("70," y); right += black("380," y) }
      for (x = 71; x <= 379; x++) { top += black(x ",1"); bottom += black(x ",311") }
      if (left < 280 || right < 280 || top < 280 || bottom < 280) {
        print "frame incomplete: " left " " right " " top " " bottom; bad = 1
      }
      bg = "100,340"
      if (r[bg] == 255 && g[bg] == 255 && b[bg] == 255) { print "window background is white"; bad = 1 }
      for (y = 2; y <= 310; y++) { grid += same("101," y, bg); white += (r["90," y] == 255 && g["90," y] == 255 && b["90," y] == 255) }
      if (grid < 200) { print "graticule line x=101 has only " grid " pixels in the border colour"; bad = 1 }
      if (white < 200) { print "plot inside not white (" white ")"; bad = 1 }
      found = 0
      for (dx = -1; dx <= 1; dx++) for (dy = -1; dy <= 1; dy++) {
        k = (px + dx) "," (py + dy)
        if (b[k] >= 180 && r[k] <= 80 && g[k] <= 80) found = 1
      }
      if (!found) { k = px "," py; print "no blue Y2 trace pixel near " k " (" r[k] "," g[k] "," b[k] ")"; bad = 1 }
      red = 0
      for (x = 190; x <= 275; x++) for (y = 140; y <= 170; y++) {
        k = x "," y; if (r[k] >= 200 && g[k] <= 80 && b[k] <= 80) red++
      }
      if (red > 0) { print "\"No data\" is drawn (" red " red pixels)"; bad = 1 }
      exit bad
    }'
}

session() {
  local work=$1 typed=run03.dat
  cd "$work/data"
  QT_QPA_PLATFORM=xcb "$work/bin/tracely" run01.dat >"$work/app.log" 2>&1 &
  local pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  local win
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tracely$' | head -n 1)
  [ -n "$win" ] || { echo "FAIL: the window did not appear"; cat "$work/app.log"; return 1; }
  xdotool windowfocus --sync "$win"
  xdotool mousemove --window "$win" 150 418 click 1
  xdotool key --window "$win" ctrl+a
  xdotool type --window "$win" --delay 15 "$typed"
  xdotool key --window "$win" Return

  read -r px py < <(expected_pixel "$work/data/$typed" 500)
  local shot=$work/typed-name.png
  # Wait until the new file's trace is on screen, then look at everything.
  for _ in $(seq 1 40); do
    import -window "$win" "$shot"
    blue_near "$shot" "$px" "$py" && break
    sleep 0.25
  done
  [ -z "${TRACELY_E2E_KEEP:-}" ] || cp "$shot" "$TRACELY_E2E_KEEP"
  if check_picture "$shot" "$px" "$py"; then
    echo "PASS: $typed drawn (Y2 pixel near $px,$py)"
    return 0
  fi
  echo "FAIL: the window does not show $typed as expected"
  cat "$work/app.log"
  return 1
}

if [ "${1:-}" = "--session" ]; then
  session "$2"
  exit
fi

app=$(readlink -f "$1")
make_data=$(readlink -f "$2")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$make_data" "$work/data" >/dev/null
mkdir -p "$work/bin" "$work/config"
# A private copy: settings written beside the executable stay in here.
cp "$app" "$work/bin/tracely"
XDG_RUNTIME_DIR=$(mktemp -d -p "$work")
export XDG_RUNTIME_DIR XDG_CONFIG_HOME=$work/config

# Without a display: a data file named like an option Qt takes for itself
# must still be opened.
cp "$work/data/run03.dat" "$work/data/-reverse"
(cd "$work/data" && QT_QPA_PLATFORM=offscreen TRACELY_SCREENSHOT="$work/reverse.png" "$work/bin/tracely" -reverse)
read -r px py < <(expected_pixel "$work/data/-reverse" 500)
if ! check_picture "$work/reverse.png" "$px" "$py"; then
  echo "FAIL: the file named -reverse was not opened from the command line"
  exit 1
fi
echo "PASS: a file named -reverse opens from the command line"

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "SKIP: xvfb-run is not installed"
  exit 0
fi
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --session "$work"
