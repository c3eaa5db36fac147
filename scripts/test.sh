#!/usr/bin/env bash
# Builds everything into build/ and runs the whole test suite; non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "${QV_BUILD_DIR:-$root/build}" --output-on-failure -j "$(nproc)"
