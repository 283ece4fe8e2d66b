#!/usr/bin/env bash
# Start-up beside its floor, whole processes, A B A B: `tracely FILE` writing
# its first picture (TRACELY_SCREENSHOT, offscreen) against startup_floor, the
# bare Qt program of the same size and fonts. Prints the medians and their
# difference in milliseconds.
#   bench/startup.sh BUILD_DIR [FILE] [PAIRS]
set -euo pipefail
build=${1:?build directory}
pairs=${3:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=${2:-$work/small.dat}
if [ ! -e "$file" ]; then
  awk 'BEGIN { print "# t ch1 ch2 ch3"; for (i = 0; i < 10000; i++) printf "%g %g %g %g\n", i * 1e-3, sin(i / 100), cos(i / 100), i % 100 }' >"$file"
fi
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config
ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N); echo $(((t1 - t0) / 1000000)); }
app=() floor=()
for _ in $(seq 0 "$pairs"); do
  app+=("$(TRACELY_SCREENSHOT=$work/a.png ms "$build/app/tracely" "$file")")
  floor+=("$(ms "$build/bench/startup_floor" "$work/f.png")")
done
median() { printf '%s\n' "$@" | tail -n +2 | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
a=$(median "${app[@]}") f=$(median "${floor[@]}")
echo "tracely open+paint+exit: ${a} ms   bare Qt floor: ${f} ms   difference: $((a - f)) ms   ($pairs pairs)"
