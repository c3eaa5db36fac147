#!/usr/bin/env bash
# Builds everything and starts the installation wizard.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ ! -x "$root/build/app/quorvex_setup" ]; then
  echo "The wizard is not there yet: the engines and tools are built in build/, the wizard is still to come."
  exit 0
fi
exec "$root/build/app/quorvex_setup" "$@"
