#!/usr/bin/env bash
# Installs what is missing, builds the viewer and starts it on the example data.
# Without a display it writes a screenshot of the window instead and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tracely
bash scripts/make-example-data.sh examples/data >/dev/null

first=$(ls examples/data/*.dat | head -n 1)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/app/tracely "$first"
fi

shot=$PWD/build/tracely-screenshot.png
echo "No display available: writing a screenshot of the window instead."
XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)} QT_QPA_PLATFORM=offscreen TRACELY_SCREENSHOT="$shot" \
  build/app/tracely "$first"
echo "Screenshot: $shot"
