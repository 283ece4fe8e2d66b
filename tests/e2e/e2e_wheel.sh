#!/usr/bin/env bash
# End-to-end: the real program under Xvfb, stepped through a directory with
# the real mouse wheel, then with PageDown and PageUp. The directory holds three files whose traces cross
# two test columns at different heights (a rising line, a falling line and a
# parabola); after each step the window's picture must show the trace of the
# file that should come next, and only that one.
# Usage: e2e_wheel.sh <tracely executable>
set -euo pipefail

convert_bin=/usr/bin/convert   # ImageMagick itself

# Client pixels where each file's trace crosses x = 25 and x = 75 of its data
# (x from 0 to 100 over the 310 pixels from column 70, each file's Y range
# over the 310 rows up from row 311).
declare -A expected=(
  [a.dat]="147,234 302,79"
  [b.dat]="147,79 302,234"
  [c.dat]="147,292 302,137"
)

write_data() {
  local dir=$1
  mkdir -p "$dir"
  awk 'BEGIN { for (x = 0; x <= 100; x++) print x, x }' >"$dir/a.dat"
  awk 'BEGIN { for (x = 0; x <= 100; x++) print x, -x }' >"$dir/b.dat"
  awk 'BEGIN { for (x = 0; x <= 100; x++) print x, x * x }' >"$dir/c.dat"
  echo "not data" >"$dir/notes.txt"
}

# Succeeds when the screenshot shows the trace of file $2 at its pixels and no
# other file's trace at theirs. Prints what it saw.
shows() {
  local shot=$1 want=$2 file point x y verdict=0 seen
  for file in a.dat b.dat c.dat; do
    for point in ${expected[$file]}; do
      x=${point%,*}; y=${point#*,}
      # Any dark pixel in the 3x3 square around the point.
      seen=$("$convert_bin" "$shot" -crop "3x3+$((x - 1))+$((y - 1))" +repage -depth 8 txt:- |
        awk 'NR > 1 { c = $2; gsub(/[()]/, "", c); split(c, v, ","); if (v[1] < 80 && v[2] < 80 && v[3] < 80) dark = 1 }
             END { print dark ? "dark" : "light" }')
      if [ "$file" = "$want" ] && [ "$seen" != dark ]; then
        echo "  $want: no trace at $x,$y"; verdict=1
      elif [ "$file" != "$want" ] && [ "$seen" = dark ]; then
        echo "  $want: trace of $file at $x,$y"; verdict=1
      fi
    done
  done
  return $verdict
}

# Waits up to about $3 seconds for the window to show file $2.
wait_for() {
  local win=$1 want=$2 tries=$(( $3 * 5 )) shot=$work/wheel.png
  for _ in $(seq 1 "$tries"); do
    import -window "$win" "$shot"
    if shows "$shot" "$want" >/dev/null; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}

session() {
  work=$1
  cd "$work/data"
  QT_QPA_PLATFORM=xcb "$work/bin/tracely" a.dat >"$work/app.log" 2>&1 &
  app_pid=$!
  trap 'kill "$app_pid" 2>/dev/null || true' EXIT
  local win
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tracely$' | head -n 1)
  [ -n "$win" ] || { echo "FAIL: the window did not appear"; cat "$work/app.log"; return 1; }
  xdotool windowfocus --sync "$win"
  if ! wait_for "$win" a.dat 10; then
    echo "FAIL: the window does not show a.dat at start:"; shows "$work/wheel.png" a.dat || true
    cat "$work/app.log"; return 1
  fi
  xdotool mousemove --window "$win" 200 150

  # The notches per step come from the settings; find them with the first
  # step, one notch at a time.
  local notches=0
  while [ $notches -lt 6 ]; do
    xdotool click 5
    notches=$((notches + 1))
    if wait_for "$win" b.dat 2; then
      break
    fi
    if ! shows "$work/wheel.png" a.dat >/dev/null; then
      echo "FAIL: after $notches notch(es) down the window shows neither a.dat nor b.dat:"
      shows "$work/wheel.png" b.dat || true
      return 1
    fi
  done
  if ! shows "$work/wheel.png" b.dat >/dev/null; then
    echo "FAIL: $notches notches down did not step to b.dat"; return 1
  fi
  echo "PASS: $notches notch(es) down step from a.dat to b.dat"

  # Then: down to c.dat, down again wraps to a.dat, up wraps back to c.dat.
  local button want
  for step in "5 c.dat" "5 a.dat" "4 c.dat"; do
    read -r button want <<<"$step"
    xdotool click --repeat "$notches" --delay 30 "$button"
    if ! wait_for "$win" "$want" 10; then
      echo "FAIL: turning the wheel ($button) did not show $want:"
      shows "$work/wheel.png" "$want" || true
      [ -z "${TRACELY_E2E_KEEP:-}" ] || cp "$work/wheel.png" "$TRACELY_E2E_KEEP"
      cat "$work/app.log"; return 1
    fi
    echo "PASS: wheel button $button shows $want"
  done

  # The keyboard takes the same path: PageDown (X's "Next") wraps from c.dat
  # to a.dat, PageUp ("Prior") goes back.
  for step in "Next a.dat" "Prior c.dat"; do
    read -r button want <<<"$step"
    xdotool key --window "$win" "$button"
    if ! wait_for "$win" "$want" 10; then
      echo "FAIL: the key $button did not show $want:"
      shows "$work/wheel.png" "$want" || true
      cat "$work/app.log"; return 1
    fi
    echo "PASS: the key $button shows $want"
  done
}

source "$(dirname "$0")/session.sh"
run_session "$0" 1024x768 "$@"
