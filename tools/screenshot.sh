#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the window under Xvfb with a CJK font and writes a PNG screenshot of it.
# Usage: tools/screenshot.sh [program] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/dev/bin/haoma}
output=${2:-docs/screenshot.png}
display=:97

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$program" &
app=$!
sleep 3
DISPLAY=$display import -window root -crop 605x483+209+142 +repage "$output"
echo "wrote $output"
