#!/usr/bin/env bash
# End-to-end: the real program under Xvfb opens a data file and the real
# SaveSettings button is clicked, against a hostile directory settings file.
#  link:  _Tracely.ini is a link that another user put into the data
#         directory, pointing at a file of the user's. That file must stay as
#         it was, nothing may appear anywhere, and an error box must say so.
#  fsize: the data directory takes no new files, its _Tracely.ini is
#         writable, and the program runs under a file size limit below the
#         length the save needs. The file must stay byte for byte as it was,
#         and an error box must say so.
# Usage: settings_save.sh link|fsize <tracely executable>
set -euo pipefail

# Lists a directory tree with sizes, owners and link targets.
listing() { find "$1" -printf '%P %y %s %u %l\n' | sort; }

session() {
  local mode=$1 work=$2 win boxes=0
  cd "$work/data"
  export QT_QPA_PLATFORM=xcb   # ctest runs everything else offscreen
  if [ "$mode" = fsize ]; then
    # Ignored, the signal turns into a plain write error. As root the program
    # runs as nobody, since root may make files in any directory.
    local drop=()
    [ "$(id -u)" != 0 ] || drop=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    bash -c 'trap "" XFSZ; ulimit -f 4; exec "$@"' limit "${drop[@]}" "$work/bin/tracely" a.dat \
      >"$work/app.log" 2>&1 &
  else
    "$work/bin/tracely" a.dat >"$work/app.log" 2>&1 &
  fi
  app_pid=$!
  trap 'kill "$app_pid" 2>/dev/null || true' EXIT
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tracely$' | head -n 1 || true)
  [ -n "$win" ] || { echo "FAIL: the window did not appear"; cat "$work/app.log"; return 1; }
  xdotool windowfocus --sync "$win"
  sleep 0.5
  xdotool mousemove --window "$win" 330 421 click 1
  # The error box is a second window of the same title.
  for _ in $(seq 1 50); do
    boxes=$(xdotool search --onlyvisible --name '^Tracely$' | wc -l)
    [ "$boxes" -lt 2 ] || break
    sleep 0.2
  done
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  [ "$boxes" -ge 2 ] || { echo "FAIL: no error box after SaveSettings"; cat "$work/app.log"; return 1; }
  echo "PASS: SaveSettings showed an error box"
}

if [ "${1:-}" = "--session" ]; then
  session "$2" "$3"
  exit
fi

mode=$1
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
  echo "SKIP: xvfb-run or xdotool is not installed"
  exit 0
fi
if [ "$mode" = link ] && [ "$(id -u)" != 0 ]; then
  echo "SKIP: only root can give a link to another user"
  exit 0
fi

app=$(readlink -f "$2")
work=$(mktemp -d -p /tmp)   # nobody must be able to reach it
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config" "$work/home" "$work/runtime" "$work/data" "$work/victim"
cp "$app" "$work/bin/tracely"
awk 'BEGIN { for (x = 0; x <= 100; x++) print x, x }' >"$work/data/a.dat"
if [ "$mode" = link ]; then
  printf 'export PATH=/usr/bin\n' >"$work/victim/.bashrc"
  ln -s ../victim/.bashrc "$work/data/_Tracely.ini"
  chown -h 65534:65534 "$work/data/_Tracely.ini"
  guarded=$work/victim/.bashrc
else
  # About 3.9 KB; with the keys the save adds it needs more than 4 KiB.
  { echo "[Comments]"
    for i in $(seq 1 114); do printf 'Note%03d=a line of a settings file\n' "$i"; done
    printf '[State]\nYs=0\n'
  } >"$work/data/_Tracely.ini"
  chmod 666 "$work/data/_Tracely.ini"
  chmod 555 "$work/data"
  chmod 755 "$work"
  [ "$(id -u)" != 0 ] || chown 65534:65534 "$work/config" "$work/home" "$work/runtime"
  guarded=$work/data/_Tracely.ini
fi
chmod 700 "$work/runtime"
cp "$guarded" "$work/guarded.before"
before=$(listing "$work/data"; listing "$work/victim")

export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config HOME=$work/home
# -ac lets the program in when it runs as another user.
status=0
xvfb-run -a -s "-ac -screen 0 1024x768x24" bash "$0" --session "$mode" "$work" || status=1
if ! cmp -s "$guarded" "$work/guarded.before"; then
  echo "FAIL: $guarded was changed ($(stat -c %s "$guarded") bytes, $(stat -c %s "$work/guarded.before") before)"
  status=1
fi
after=$(listing "$work/data"; listing "$work/victim")
if [ "$before" != "$after" ]; then
  echo "FAIL: files appeared or changed:"; diff <(echo "$before") <(echo "$after") || true
  status=1
fi
[ $status != 0 ] || echo "PASS: $guarded is unchanged and nothing appeared"
exit $status
