#!/usr/bin/env bash
# Starts the Windows window program of a program folder under Wine on a
# virtual display, with a fresh working folder (its first start), and saves
# the display once the window is up: screenshots/windows.png.
#   packaging/windows/screenshot.sh PROGRAM-FOLDER
# Run by hand after scripts/build-windows.sh; needs xvfb, xdotool and
# imagemagick.
set -euo pipefail
folder=$(realpath "$1")
cd "$(dirname "$0")/../.."
export TERVELA_WINDOWS_CACHE=${TERVELA_WINDOWS_CACHE:-$HOME/.cache/tervela-windows}
source packaging/windows/wine-env.sh
wine_prefix_ready
start_display
home=$(mktemp -d)
program=
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  stop_display
  rm -rf "$home"
}
trap finish EXIT

TERVELA_HOME="Z:$home" "$wine" "$folder/tervela.exe" >/dev/null 2>&1 &
program=$!
# The window is found by its title; Wine takes a few seconds to start.
for _ in $(seq 60); do
  xdotool search --name '^Tervela' >/dev/null 2>&1 && break
  sleep 1
done
xdotool search --name '^Tervela' >/dev/null || { echo "the window did not appear" >&2; exit 1; }
sleep 2
window=$(xdotool search --name '^Tervela' | head -1)
mkdir -p screenshots
import -window "$window" screenshots/windows.png
ls -l screenshots/windows.png
