#!/usr/bin/env bash
# Builds the engines and their tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang) into build-sanitize/ and runs the engine tests; any report fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export QV_BUILD_DIR=$root/build-sanitize
export CC=clang CXX=clang++
"$root/scripts/build.sh" -DQV_SANITIZE=ON -DQV_BUILD_APP=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$QV_BUILD_DIR" --output-on-failure -j "$(nproc)"
