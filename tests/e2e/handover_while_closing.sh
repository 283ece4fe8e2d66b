#!/usr/bin/env bash
# End-to-end: a file handed over while the running copy is closing must not
# be acknowledged and lost. The first copy cannot write its settings at close
# (a file-size limit below the rewritten file), so its error box is up while
# a second copy tries to hand a file over. The second copy must not be told
# the file was shown, and the closing copy must not take it.
# Usage: handover_while_closing.sh <tracely executable> <wm_close helper>
set -euo pipefail

if [ "${1:-}" = --session ]; then
  work=$2
  log=$work/events.log
  export QT_QPA_PLATFORM=xcb
  cd "$work/data"
  # SIGXFSZ ignored: the write fails with EFBIG instead of ending the program.
  (trap '' XFSZ; ulimit -f 2; exec "$work/bin/tracely" --event-log "$log" a.dat) >"$work/first.log" 2>&1 &
  first=$!
  trap 'kill "$first" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do grep -q "^$first listening" "$log" 2>/dev/null && break; sleep 0.1; done
  grep -q "^$first listening" "$log" || { echo "FAIL: the first copy never listened"; cat "$work/first.log"; exit 1; }
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tracely$' | head -n 1)

  "$work/wm_close" "$win"
  # The close-time error box carries the same title as the window.
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --name '^Tracely$' 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
  done
  [ "$(xdotool search --onlyvisible --name '^Tracely$' | wc -l)" -ge 2 ] ||
    { echo "FAIL: no error box at close"; cat "$work/first.log"; exit 1; }

  set +e
  "$work/bin/tracely" --event-log "$log" b.dat >"$work/second.log" 2>&1
  status=$?
  set -e
  second_pid=$(awk '$2 == "handed" || $2 == "not" { print $1 }' "$log" | tail -n 1)
  fail=0
  if grep -q "^$first received" "$log"; then
    echo "FAIL: the closing copy took the handed-over file"; fail=1
  fi
  if grep -q " handed over$" "$log" && ! grep -q " not handed over$" "$log"; then
    echo "FAIL: the second copy was told its file is shown"; fail=1
  fi
  [ "$status" -eq 255 ] || { echo "FAIL: second copy ended with $status, not 255"; fail=1; }

  # Dismiss the box; the first copy then ends.
  box=$(xdotool search --onlyvisible --name '^Tracely$' | grep -v "^$win$" | head -n 1)
  xdotool key --window "$box" Return || true
  for _ in $(seq 50); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$first" 2>/dev/null; then echo "FAIL: the first copy did not end"; fail=1; fi
  [ "$fail" -eq 0 ] || { echo "log:"; cat "$log"; echo "second copy ${second_pid:-?}:"; cat "$work/second.log"; }
  exit "$fail"
fi

if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
  echo "SKIP: xvfb-run or xdotool is not installed"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/data" "$work/config"
# A private copy: its option file (the settings file) lies beside it.
cp "$(readlink -f "$1")" "$work/bin/tracely"
cp "$(readlink -f "$2")" "$work/wm_close"
{
  printf '[Option]\nNoMulExec=1\n'
  # Padding, so the rewritten file cannot fit under the size limit.
  for i in $(seq 60); do printf '; %s\n' "$(printf 'x%.0s' $(seq 60))"; done
} >"$work/bin/Tracely.ini"
for name in a b; do
  for i in $(seq 0 20); do echo "$i $((i * 2))"; done >"$work/data/$name.dat"
done
XDG_RUNTIME_DIR=$(mktemp -d -p "$work")
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR XDG_CONFIG_HOME=$work/config

xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --session "$work"
