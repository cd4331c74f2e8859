#!/usr/bin/env bash
# Installs what is missing, builds the program and runs the example report on SQLite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset ci -DSLIDESMITH_TESTS=OFF
cmake --build --preset ci --target slidesmith
program=build/ci/src/app/slidesmith
definition=examples/sales/sales.slm
status=0
"$program" "$definition" -C || status=$?
echo "slidesmith exited with status $status"
exit "$status"
