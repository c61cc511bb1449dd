#!/usr/bin/env bash
# Starts the desktop program; without a display, runs the bundled example through the command line.
set -euo pipefail
build=${1:-build}
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$build/app/tallex" ]]; then
  exec "$build/app/tallex"
fi
echo "No display: running the worked example through tallex-cli instead of opening the window."
cli="$build/cli/tallex-cli"
if [[ -f examples/regular-monthly.json ]] && "$cli" report --help >/dev/null 2>&1; then
  exec "$cli" report examples/regular-monthly.json
fi
echo "tallex-cli apr --amount 1000 --apr 12 --unit-days 30 --year-days 360 --stream 88.85,12,1,0"
exec "$cli" apr --amount 1000 --apr 12 --unit-days 30 --year-days 360 --stream 88.85,12,1,0
