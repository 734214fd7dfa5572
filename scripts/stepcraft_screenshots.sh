#!/usr/bin/env bash
# Takes the screenshots of docs/stepcraft/ as a new user would work: Stepcraft on a virtual
# display with a virtual board, a program built by mouse clicks (a loop, an output, a branch
# whose threshold is taken from the board's live reading, a goto), saved, opened again,
# written into the board and printed to a PDF. Needs xvfb-run, xdotool, ImageMagick and
# pdftoppm; run from anywhere after building. Coordinates are those of the default layout.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" != "--inside" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" --inside
fi
bin="$root/build/bin"
out="$root/docs/stepcraft"
work="$(mktemp -d)"
mkdir -p "$out"
cd "$work"

shot() { sleep 0.7; import -window root "$work/full.png"; convert "$work/full.png" -crop 836x623+0+0 +repage "$out/$1.png"; }
click() { xdotool mousemove "$1" "$2"; sleep 0.15; xdotool click 1; sleep 0.5; }
# The position and size of the window called $1 into WX WY WW WH.
pos() {
  local geo
  geo=$(xdotool search --name "$1" getwindowgeometry | tail -2)
  WX=$(echo "$geo" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1/p')
  WY=$(echo "$geo" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\2/p')
  WW=$(echo "$geo" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1/p')
  WH=$(echo "$geo" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\2/p')
}
ok_box() { pos "$1"; click $((WX + 50)) $((WY + WH - 24)); }

"$bin/pendra2-virtual-board" --name screenshots --input1 420 --log "$work/board.log" >/dev/null &
board=$!
sleep 0.5
PENDRA2_VIRTUAL_BOARDS=screenshots "$bin/Stepcraft" 2>/dev/null &
stepcraft=$!
trap 'kill $stepcraft $board 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 2
shot 01-start

# Screen positions: the flowchart window's rows, the toolbar's tools, the panel's buttons.
row() { echo $((43 + 40 + 48 * $1 + 24)); }
click 770 348; click 64 "$(row 0)"; shot 02-insert-loop; ok_box "挿入"
click 692 298; click 64 "$(row 1)"; ok_box "挿入"
pos "出力"; click $((WX + 30)) $((WY + 73)); shot 03-output-dialog; click $((WX + 120)) $((WY + 140))
click 770 263; click 64 "$(row 2)"; ok_box "挿入"
pos "分岐"; click $((WX + 69)) $((WY + 143)); sleep 1; click $((WX + 266)) $((WY + 143))
shot 04-branch-live-reading; click $((WX + 198)) $((WY + 205))
click 692 338; click 64 "$(row 3)"; ok_box "挿入"
pos "goto"; click $((WX + 110)) $((WY + 30)); xdotool key ctrl+a; xdotool type "5"
click $((WX + 50)) $((WY + WH - 22))
shot 05-program-built

click 42 8; click 82 73; sleep 1; xdotool type "my_program"; shot 06-save-dialog
xdotool key Return; sleep 1
click 42 8; click 58 29; sleep 0.5
click 42 8; click 52 95; sleep 1; xdotool type "my_program.flc"; xdotool key Return; sleep 1
shot 07-reopened
click 680 65; sleep 1
click 42 8; click 46 119; sleep 1.5
xdotool mousemove 427 298 click --repeat 3 1; xdotool type "$work/my_program.pdf"
shot 08-print-dialog
xdotool key Return; sleep 2
pdftoppm -png -r 60 -f 1 -l 1 "$work/my_program.pdf" "$work/page"
cp "$work"/page-1.png "$out/09-printed-page.png"
echo "reports the board received after start-up (auto-mode queries and input readings left out):"
cut -c3-4 "$work/board.log" | grep -v -x -e 54 -e 41 | uniq -c
