#!/usr/bin/env bash
# Installs what is missing, builds the program and runs the example definition in batch mode,
# then shows what the program printed and its start-up log.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# Configure with the preset as it is: turning tests off here would stick in the shared cache.
cmake --preset ci >/dev/null
cmake --build --preset ci --target slidesmith
program=build/ci/src/app/slidesmith
definition=examples/sales/sales.slm
printed=$(mktemp)
trap 'rm -f "$printed"' EXIT

status=0
"$program" "$definition" -C >"$printed" 2>&1 || status=$?
echo "== slidesmith $definition -C ended with status $status and printed:"
cat "$printed"

# Start-up errors go beside the program when its folder holds sconv.cfg, else to the state folder.
found=no
for log in "$(dirname "$program")/slidesmith.log" \
    "${XDG_STATE_HOME:-$HOME/.local/state}/slidesmith/slidesmith.log"; do
    if [[ -f "$log" ]]; then
        echo "== last lines of the start-up log $log:"
        tail -n 5 "$log"
        found=yes
    fi
done
[[ $found == yes ]] || echo "== no start-up log: the definition passed the start-up checks"

# The run's own log, named in the definition.
runlog=examples/sales/output/sales-2012.log
if [[ -f "$runlog" ]]; then
    echo "== the run log $runlog:"
    cat "$runlog"
fi
exit "$status"
