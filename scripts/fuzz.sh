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
# Only the fuzz targets and what they link: the rest of the tree is built and
# tested by scripts/test.sh.
mapfile -t targets < <(cmake --build build-fuzz --target help | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): phony$/\1/p')
if [ ${#targets[@]} -eq 0 ]; then
  echo "No fuzz target is defined"
  exit 1
fi
cmake --build build-fuzz --parallel "${ZX_JOBS:-$(nproc)}" --target "${targets[@]}"
failed=()
for name in "${targets[@]}"; do
  corpus=$(mktemp -d)
  findings=$(mktemp -d "${TMPDIR:-/tmp}/$name-findings.XXXXXX")
  cp -r "fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if "build-fuzz/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
       "$corpus" >"$findings/output.txt" 2>&1; then
    tail -n 3 "$findings/output.txt"
    rm -rf "$findings"
  else
    tail -n 40 "$findings/output.txt"
    echo "!! $name found a fault: its input and output are in $findings"
    failed+=("$name")
  fi
  rm -rf "$corpus"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets with findings: ${failed[*]}"
  exit 1
fi
echo "${#targets[@]} fuzz targets ran ${seconds}s each without a finding"
