#!/usr/bin/env bash
# Builds everything and starts the installation wizard on the user's display. Without a
# display, runs the wizard under Xvfb instead, walks it through its pages with a scripted
# operator, saves a screenshot of every step and prints where they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${QV_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
wizard=$build_dir/app/quorvex_setup
tour=$build_dir/app/quorvex_setup_tour
if [ ! -x "$wizard" ]; then
  echo "The wizard was not built (configured with -DQV_BUILD_APP=OFF?)." >&2
  exit 1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$wizard"
fi

shots=$build_dir/screenshots
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# A Windows root of its own, whose drive D: holds a few folders for the folder picker.
mkdir -p "$work/prefix/dosdevices" "$work/D/Apps" "$work/D/Données" "$work/D/Programmes"
ln -s "$work/D" "$work/prefix/dosdevices/d:"

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
display=":$(head -n1 "$work/display")"

rm -rf "$shots"
echo "No display: touring the wizard under Xvfb ($display, 1366 x 768)..."
DISPLAY=$display WINEPREFIX=$work/prefix XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb \
  "$tour" "$shots" >"$work/tour.log"
echo "Screenshots of every step, in $shots:"
sed 's/^/  /' "$work/tour.log"
