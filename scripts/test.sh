#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration
# from scratch (or incrementally when the build folders exist) and runs the
# whole suite with ctest, headless. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The tree keeps the one format of .clang-format (outside a clone, every
# source file below the project's folders).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h'
else
  find app bench fuzz options platform plot searchfiles tests ui view \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRACELY_SANITIZE=ON -DTRACELY_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"

# Tests get a private runtime directory: every root process shares /tmp/runtime-root.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

ctest --test-dir build --output-on-failure -j"$jobs"
# Qt and fontconfig keep caches for the life of the process; leak reports there are noise.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
