#!/usr/bin/env bash
# Coverage-guided fuzzing of the engines with libFuzzer (clang): builds fuzz/ into build-fuzz/,
# makes the seed corpora (a few small archives with Info-ZIP zip, small databases through the
# creation API), then runs each target for the given seconds (default 300). Crashes, hangs and
# leaks land in build-fuzz/findings/<target>/. Not part of the test run or CI.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
seconds=${1:-300}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
export CC=clang CXX=clang++
cmake -S "$root" -B "$build" -G Ninja -DQV_BUILD_FUZZ=ON -DQV_BUILD_APP=OFF \
  -DQV_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target archive_fuzz database_fuzz

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/archive" "$seeds/database" "$seeds/work"
(
  cd "$seeds/work"
  printf 'alpha bravo charlie delta echo foxtrot\n%.0s' {1..20} > text.txt
  printf 'short' > s.txt
  mkdir -p docs && printf 'in a folder' > docs/readme.txt
  zip -q -X -P quaspel "$seeds/archive/encrypted.zip" text.txt s.txt docs/readme.txt
  zip -q -X -0 -P quaspel "$seeds/archive/stored_encrypted.zip" s.txt
  zip -q -X "$seeds/archive/plain.zip" text.txt s.txt
  zip -q -X -P wrongpw "$seeds/archive/other_password.zip" s.txt
  printf 'commented' | zip -q -X -z "$seeds/archive/comment.zip" s.txt
)
rm -rf "$seeds/work"
QV_FUZZ_SEED_DIR=$seeds/database "$build/fuzz/database_fuzz"

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in archive_fuzz database_fuzz; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  area=${target%_fuzz}
  echo "== $target: ${seconds}s"
  (cd "$findings" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -jobs=1 -workers=1 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds/$area") || status=1
done
exit $status
