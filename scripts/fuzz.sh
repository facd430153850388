#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one on its seed
# corpus for a while (default 60 seconds each): scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZX_BUILD_TESTS=OFF
cmake --build build-fuzz --parallel "$(nproc)"
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "$work" 2>&1 | tail -n 3
  rm -rf "$work"
done
