#!/usr/bin/env bash
# The editors' layout tests on an X display, where the platform's fonts and frames differ from
# the offscreen ones: on a virtual display of their own when Xvfb is there, else skipped.
# Usage: layout_on_display.sh STEPCRAFT_TESTS CHIMECRAFT_TESTS
set -u
command -v Xvfb >/dev/null || { echo "no Xvfb here: skipped"; exit 77; }
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1400x1000x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 10 display <"$fifo" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
"$1" --gtest_filter='StepcraftLayout.*' && "$2" --gtest_filter='ChimeLayout.*'
