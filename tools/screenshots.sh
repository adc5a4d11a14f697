#!/usr/bin/env bash
# Renders the two dialogs under a private Xvfb and saves them as docs/dialog-options.png and
# docs/dialog-replace.png. Needs the graphical build (wxWidgets 3.2) and Xvfb: `make build` installs both.
# Xvfb has no window manager, so the pictures show the windows' client areas without a title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target sqlscripts_screenshots

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true' EXIT
read -r -u "$fd" display

mkdir -p docs
DISPLAY=":$display" "$BUILD/tools/sqlscripts/sqlscripts_screenshots" docs
echo "docs/dialog-options.png, docs/dialog-replace.png"
