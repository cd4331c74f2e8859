#!/bin/sh
# Renders the configuration dialogs, the run window and the prompts to PNG under Xvfb.
# Usage: scripts/screenshots-dialogs.sh [output folder]   (default: build/ci/screenshots)
# Needs a ci build (cmake --preset ci && cmake --build --preset ci).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/ci/screenshots}
tool=$root/build/ci/tests/ui/slidesmith_dialog_screens
if [ ! -x "$tool" ]; then
    echo "build first: $tool is missing" >&2
    exit 1
fi
mkdir -p "$out"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$tool" "$out"
ls "$out"/*.png
