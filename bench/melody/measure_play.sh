#!/usr/bin/env bash
# Measures pendra2-cli play against pendra2-virtual-board over a 100-column tune at the two
# fastest tempos (8 ms and 4 ms per column): the mean interval between the notes sent, as
# pendra2-cli measures it (--stats), and the wall time of the whole run per tick.
# Usage: bench/melody/measure_play.sh [BIN_DIR] [RUNS]
set -euo pipefail
bin=${1:-build/bin}
runs=${2:-5}
work=$(mktemp -d)
board=pendra2-measure-$$
"$bin/pendra2-virtual-board" --name "$board" >/dev/null &
board_pid=$!
trap 'kill $board_pid 2>/dev/null || true; wait $board_pid 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 0.5

# A current-layout .olg: header, tempo pair, 100 notes, end mark, empty columns.
make_tune() {  # tempo-index tempo-byte path
  {
    printf 'OLX\000\000\000'
    printf "\\x$(printf %02x 101)\\000"
    printf '2.53.60\000'
    head -c 8 /dev/zero
    printf "\\x$(printf %02x "$1")\\000"
    head -c 38 /dev/zero
    printf "T\\x$(printf %02x "$2")"
    for i in $(seq 0 99); do printf "\\x$(printf %02x $((i % 23)))"; done
    printf '\030'
    head -c 409 /dev/zero | tr '\000' '\377'
  } >"$3"
}

for row in "11 2 8" "12 1 4"; do
  set -- $row
  make_tune "$1" "$2" "$work/tune$1.olg"
  sum=0
  wall_sum=0
  for run in $(seq 1 "$runs"); do
    start=$(date +%s%N)
    stats=$(PENDRA2_VIRTUAL_BOARDS=$board "$bin/pendra2-cli" play "$work/tune$1.olg" --stats 2>&1 >/dev/null)
    end=$(date +%s%N)
    mean=$(sed -n 's/.*mean interval: \([0-9.]*\) ms.*/\1/p' <<<"$stats")
    ticks=$(sed -n 's/^ticks: \([0-9]*\),.*/\1/p' <<<"$stats")
    wall=$(awk -v a="$start" -v b="$end" -v t="$ticks" 'BEGIN { printf "%.3f", (b - a) / 1e6 / t }')
    echo "period $3 ms, run $run: mean interval $mean ms over $ticks ticks; wall time per tick $wall ms"
    sum=$(awk -v s="$sum" -v m="$mean" 'BEGIN { print s + m }')
    wall_sum=$(awk -v s="$wall_sum" -v m="$wall" 'BEGIN { print s + m }')
  done
  awk -v s="$sum" -v w="$wall_sum" -v r="$runs" -v p="$3" 'BEGIN {
    m = s / r; printf "period %d ms: mean interval %.4f ms (%+.2f %%), wall time per tick %.3f ms\n", p, m, (m - p) / p * 100, w / r }'
done
