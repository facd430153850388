#!/usr/bin/env bash
# Builds everything and runs every test. Extra arguments go to ctest
# (for example: scripts/test.sh -L rtl). ZX_SANITIZE=ON builds with
# AddressSanitizer and UBSan into build-asan/. ZX_JOBS caps the parallel
# build jobs and tests (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
sanitize=${ZX_SANITIZE:-OFF}
jobs=${ZX_JOBS:-$(nproc)}
build=build
[ "$sanitize" = ON ] && build=build-asan
cmake -S . -B "$build" -G Ninja -DZX_SANITIZE="$sanitize" -DZX_BUILD_BENCH=ON
cmake --build "$build" --parallel "$jobs"
ctest --test-dir "$build" --output-on-failure --parallel "$jobs" "$@"
