#!/usr/bin/env bash
# Installs what is missing, builds the program and the template tool, builds the example's
# database and template, runs the example definition in batch mode, and renders the report to
# PDF when LibreOffice is installed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# Configure with the preset as it is: turning tests off here would stick in the shared cache.
cmake --preset ci >/dev/null
cmake --build --preset ci --target slidesmith make-template
program=build/ci/src/app/slidesmith
example=examples/sales
definition=$example/sales.slm
year=2012

# The database and the template are built from the committed text files, so they never drift.
rm -f "$example/sales.db"
sqlite3 "$example/sales.db" <"$example/sales.sql"
build/ci/tools/make-template "$example/sales-template.txt" "$example/sales-template.pptx"

printed=$(mktemp)
trap 'rm -f "$printed"' EXIT
status=0
"$program" "$definition" -C "$year" >"$printed" 2>&1 || status=$?
echo "== slidesmith $definition -C $year ended with status $status"
if [[ -s $printed ]]; then
    echo "== it printed:"
    cat "$printed"
fi

# Start-up errors (no run at all) go beside the program or to the state folder.
for log in "$(dirname "$program")/slidesmith.log" \
    "${XDG_STATE_HOME:-$HOME/.local/state}/slidesmith/slidesmith.log"; do
    if [[ -f "$log" ]]; then
        echo "== last lines of the start-up log $log:"
        tail -n 5 "$log"
    fi
done

report=$example/output/sales-$year.pptx
runlog=$example/output/sales-$year.log
[[ -f $runlog ]] && echo "== the run log: $runlog" && cat "$runlog"
if [[ -f $report ]]; then
    echo "== the report: $report"
    if command -v soffice >/dev/null; then
        soffice --headless --convert-to pdf --outdir "$example/output" "$report" >/dev/null 2>&1 &&
            echo "== rendered with LibreOffice: $example/output/sales-$year.pdf"
    fi
fi
exit "$status"
