#!/usr/bin/env bash
# Builds one libFuzzer target with clang (when its sources changed) and runs it
# for a bounded time over the committed seed corpus, which it never modifies.
#   fuzz/run.sh line_scanner|profile|handover_frame SECONDS [OUTDIR]
# Longer runs by hand: fuzz/run.sh profile 600
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
name=$1
seconds=${2:-10}
out=${3:-$root/build-fuzz}
mkdir -p "$out"

case $name in
  line_scanner)   sources=(plot/DataFileLines.cpp plot/LineScanner.cpp); include=plot; extra=(-max_len=20000) ;;
  profile)        sources=(platform/IniDocument.cpp searchfiles/AsciiText.cpp); include="platform searchfiles"; extra=() ;;
  handover_frame) sources=(platform/HandoverFrame.cpp); include=platform; extra=() ;;
  *) echo "unknown fuzz target: $name" >&2; exit 2 ;;
esac

bin=$out/fuzz_$name
inputs=("$here/fuzz_$name.cpp")
for s in "${sources[@]}"; do inputs+=("$root/$s"); done
stale=0
[ -x "$bin" ] || stale=1
includeFlags=()
for dir in $include; do
  includeFlags+=(-I"$root/$dir")
  for f in "$root/$dir"/*.h; do [ "$f" -nt "$bin" ] && stale=1; done
done
for f in "${inputs[@]}"; do [ "$f" -nt "$bin" ] && stale=1; done
if [ "$stale" = 1 ]; then
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${includeFlags[@]}" "${inputs[@]}" -o "$bin"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$here/corpus/$name/." "$work/" 2>/dev/null || true
cd "$work"
"$bin" -max_total_time="$seconds" -print_final_stats=0 "${extra[@]}" "$work" 2>"$work/log.txt" || {
  tail -n 60 "$work/log.txt"; exit 1; }
tail -n 2 "$work/log.txt"
