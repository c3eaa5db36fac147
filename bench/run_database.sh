#!/usr/bin/env bash
# The database benchmark: ours against SQLite 3 on the same 100,000 records in one run.
# Builds a Release tree in build-bench/ (only the benchmark's targets) and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${QV_BENCH_BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_APP=OFF -DQV_BUILD_TESTS=OFF \
  -DQV_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target database_bench database_access_bench
"$build/bench/database/database_bench" "${1:-${TMPDIR:-/tmp}}"
"$build/bench/database_access/database_access_bench" "${1:-${TMPDIR:-/tmp}}"
