# Sourced by the end-to-end scripts that run one session of the real program
# under Xvfb. The script defines write_data DIR and session WORK, then calls
#   run_session SCRIPT SCREEN_SIZE "$@"
# with its own arguments: the executable, and inside Xvfb "--session WORK".
# Outside Xvfb it makes a work folder with the data, a private copy of the
# program (settings written beside it stay in there) and private runtime and
# configuration folders, then runs the script again inside xvfb-run, where
# session does the work.

run_session() {
  local script=$1 screen=$2 app
  shift 2
  if [ "${2:-}" = "--session" ]; then
    session "$3"
    exit
  fi
  if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
    echo "SKIP: xvfb-run or xdotool is not installed"
    exit 0
  fi
  app=$(readlink -f "$1")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  write_data "$work/data"
  mkdir -p "$work/bin" "$work/config"
  cp "$app" "$work/bin/tracely"
  XDG_RUNTIME_DIR=$(mktemp -d -p "$work")
  export XDG_RUNTIME_DIR XDG_CONFIG_HOME=$work/config
  xvfb-run -a -s "-screen 0 ${screen}x24" bash "$script" "$1" --session "$work"
}
