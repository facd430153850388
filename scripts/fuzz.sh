#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one on its seed
# corpus for a while (default 60 seconds each): scripts/fuzz.sh [seconds]
# Fails when a target finds a crash, a leak or a hang; the input that caused
# it and the target's output stay in a temporary directory the run names, so
# nothing is written into the tree. ZX_JOBS caps the build's parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZX_BUILD_TESTS=OFF
cmake --build build-fuzz --parallel "${ZX_JOBS:-$(nproc)}"
ran=0
failed=()
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  findings=$(mktemp -d "${TMPDIR:-/tmp}/$name-findings.XXXXXX")
  cp -r "fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
       "$corpus" >"$findings/output.txt" 2>&1; then
    tail -n 3 "$findings/output.txt"
    rm -rf "$findings"
  else
    tail -n 40 "$findings/output.txt"
    echo "!! $name found a fault: its input and output are in $findings"
    failed+=("$name")
  fi
  rm -rf "$corpus"
  ran=$((ran + 1))
done
if [ "$ran" -eq 0 ]; then
  echo "No fuzz target was built"
  exit 1
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets with findings: ${failed[*]}"
  exit 1
fi
echo "$ran fuzz targets ran ${seconds}s each without a finding"
