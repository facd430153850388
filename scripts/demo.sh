#!/usr/bin/env bash
# Builds and runs the demo application.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"
echo "The demo application is not built yet: the platform layers and the translation component core are, with their tests (scripts/test.sh)."
