#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking need; installs only
# what is missing, so a second run does nothing. Sourced or run by the other scripts.
set -euo pipefail

QV_PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  zlib1g-dev libicu-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core fonts-liberation
  libbotan-2-dev libsqlite3-dev sqlite3
  zip unzip p7zip-full python3
  xvfb xauth x11-apps imagemagick time
)

qv_missing_packages() {
  local p
  for p in "${QV_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$p"
    fi
  done
}

qv_install_deps() {
  local missing
  missing=$(qv_missing_packages)
  [ -z "$missing" ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  echo "Installing missing packages:" $missing
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  # shellcheck disable=SC2086
  $sudo apt-get install -y -q --no-install-recommends $missing
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  qv_install_deps
fi
