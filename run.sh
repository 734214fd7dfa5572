#!/usr/bin/env bash
# Installs what is missing, builds, and starts the suite.
#   ./run.sh                  start the launcher
#   ./run.sh --virtual-board  also start a virtual board in a window and use it
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/configure.sh
bin=build/bin
if [ "${1:-}" = "--virtual-board" ]; then
  shift
  export PENDRA2_VIRTUAL_BOARDS=pendra2-run
  "$bin/pendra2-virtual-board" --name pendra2-run --window &
  board=$!
  trap 'kill $board 2>/dev/null || true' EXIT
  sleep 0.5
fi
if [ -x "$bin/Pendra2" ]; then
  "$bin/Pendra2" "$@"
else
  "$bin/pendra2-cli" --help
fi
