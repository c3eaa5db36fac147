#!/usr/bin/env bash
# Configures and builds into build/ (or $QV_BUILD_DIR) with Ninja; extra arguments go to CMake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
. "$root/scripts/deps.sh"
qv_install_deps
build_dir=${QV_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" -j "${QV_JOBS:-$(nproc)}"
