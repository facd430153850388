#!/usr/bin/env bash
# Builds and runs the demo application. With a display it opens the
# application; without one it renders every form in every language into
# build/screenshots and prints what each language switch did. Arguments go
# to the program (for example: scripts/demo.sh --screenshots /tmp/shots).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)" --target zxdemo_app
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  set -- --screenshots build/screenshots
fi
exec build/apps/demo/zxdemo "$@"
