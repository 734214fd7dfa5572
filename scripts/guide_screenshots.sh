#!/usr/bin/env bash
# Takes the user guide's pictures (docs/guide/images) from the real programs: a virtual
# display with a window manager, a virtual board in its window, the launcher, and Stepcraft
# and Chimecraft playing the sessions in docs/guide/replays, whose `shot` lines take the
# pictures. One command keeps the guide current:
#   scripts/guide_screenshots.sh
# Installs what it lacks (Xvfb, a window manager, xdotool, ImageMagick) and builds first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" != "--inside" ]; then
  "$root/scripts/install-deps.sh" xvfb xauth openbox xdotool imagemagick x11-utils \
    x11-xserver-utils
  "$root/scripts/configure.sh"
  exec xvfb-run -a -s '-screen 0 1400x1000x24' "$0" --inside
fi

bin="$root/build/bin"
replays="$root/docs/guide/replays"
out="$root/docs/guide/images"
work="$(mktemp -d)"
mkdir -p "$out"
cd "$work"
# The board's default name, so its window's title reads as the guide tells the reader.
export PENDRA2_VIRTUAL_BOARDS=pendra2 PENDRA2_MUTE=1 QT_QPA_PLATFORM=xcb
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
# A calm desktop colour, so that a picture of the screen can be cut to its windows.
xsetroot -solid '#5b7f9e'

# The window whose title matches $1, once it has opened.
window() { xdotool search --sync --name "$1" | tail -1; }
# Moves that window's frame to X Y (xdotool moves the inside of the frame).
place() {
  local id left top
  id="$(window "$1")"
  read -r left _ top _ < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
  xdotool windowmove --sync "$id" $(($2 + ${left:-0})) $(($3 + ${top:-0}))
}
# A picture of that window, frame included, as $2.png.
grab() {
  sleep 0.8
  import -frame -window "$(window "$1")" "$out/$2.png"
}
# Runs an editor on a replay in docs/guide/replays, its window placed at the screen's
# top-left corner while the replay's first `wait` lets it settle.
replay() {
  local program="$1" title="$2" script="$3"
  "$bin/$program" --replay "$replays/$script" >"$work/$script.out" &
  local pid=$!
  place "$title" 0 0
  if ! wait "$pid"; then
    echo "guide_screenshots: $program stopped on $script:" >&2
    cat "$work/$script.out" >&2
    exit 1
  fi
}

"$bin/pendra2-virtual-board" --name "$PENDRA2_VIRTUAL_BOARDS" --window --mute >/dev/null &
pids+=($!)
sleep 0.5
if ! kill -0 "${pids[-1]}" 2>/dev/null; then
  echo "guide_screenshots: a virtual board named pendra2 is running already; close it first" >&2
  exit 1
fi
place "仮想ボード" 860 0
grab "仮想ボード" virtual-board

"$bin/Pendra2" &
launcher=$!
place "制御ソフト" 0 0
grab "制御ソフト" launcher
kill "$launcher"
wait "$launcher" 2>/dev/null || true

replay Stepcraft "ステップクラフト" stepcraft.replay
replay Chimecraft "チャイムクラフト" chimecraft.replay

# Pictures of the whole screen are cut to the windows on it.
for picture in "$work"/*.png; do
  case "$picture" in
    *-screen.png) convert "$picture" -trim +repage "$out/$(basename "$picture" -screen.png).png" ;;
    *) cp "$picture" "$out/" ;;
  esac
done
echo "guide_screenshots: $(ls "$out" | wc -l) pictures in docs/guide/images"
