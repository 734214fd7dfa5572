#!/usr/bin/env bash
# The board window's CPU while a program runs at normal speed (goal: below 3 % of a core):
# the blinking LED (waits) and the night light (an input read without a pause), each for
# SECONDS, measured from the process's own user + system time.
# Usage: bench/board_sim/measure_window_cpu.sh [BIN_DIR] [SECONDS]
set -euo pipefail
bin=${1:-build/bin}
seconds=${2:-10}
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
python3 "$here/docs/samples/make_board_samples.py" >/dev/null
board=pendra2-cpu-$$
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bin/pendra2-virtual-board" --name "$board" \
  --window --mute --input1 100 >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
for program in blink night_light; do
  PENDRA2_VIRTUAL_BOARDS=$board "$bin/pendra2-cli" write "$here/docs/samples/$program.flc" >/dev/null
  PENDRA2_VIRTUAL_BOARDS=$board "$bin/pendra2-cli" run
  sleep 0.5
  before=$(cpu)
  sleep "$seconds"
  after=$(cpu)
  awk -v a="$before" -v b="$after" -v t="$ticks" -v s="$seconds" -v p="$program" \
    'BEGIN { printf "%s: %.2f %% of a core over %d s\n", p, (b - a) / t / s * 100, s }'
done
