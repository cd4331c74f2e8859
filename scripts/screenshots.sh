#!/usr/bin/env bash
# Renders the desktop program's windows to PNG files under a virtual X server, for a look by
# eye after changing them. Usage: scripts/screenshots.sh [output folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
cmake --build --preset ci --target slidesmith_ui_screenshots slidesmith_dialog_screens >/dev/null
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$root/build/ci/tools/screenshots/slidesmith_ui_screenshots" "$out"
# The configuration dialogs, the run window and the prompts.
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$root/build/ci/tools/screenshots/slidesmith_dialog_screens" "$out"
