#!/usr/bin/env bash
# Installs what is missing, builds, and starts the suite.
#   ./run.sh                  start the launcher
#   ./run.sh --virtual-board  also start a virtual board in a window and use it
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/configure.sh
bin=build/bin

# Without a display Qt would abort the launcher; say what to do instead.
if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] &&
   [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are not set), so the windows of the
suite cannot be shown. The build is ready. To run without a screen:
  xvfb-run -a ./run.sh                  on a virtual display (package xvfb)
  QT_QPA_PLATFORM=offscreen build/bin/Stepcraft --replay FILE
                                        an editor session from a script, shown as text
  build/bin/pendra2-cli --help          images, listings, pictures and board commands
MSG
  exit 1
fi

if [ "${1:-}" != "--virtual-board" ]; then
  exec "$bin/Pendra2" "$@"
fi
shift

# A name of its own per run, so a second run.sh does not take over the first one's board.
# Every program started from here (the launcher, the editors it starts, the launcher they
# start again on exit) inherits the variable and sees exactly this board.
name="pendra2-run-$$"
export PENDRA2_VIRTUAL_BOARDS="$name"
"$bin/pendra2-virtual-board" --name "$name" --window &
board=$!
trap 'kill "$board" 2>/dev/null || true' INT TERM

# Wait until the board listens (its socket appears), so the launcher's first look finds it.
socket="${TMPDIR:-/tmp}/$name"
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  kill -0 "$board" 2>/dev/null || { echo "run.sh: the virtual board did not start" >&2; exit 1; }
  sleep 0.05
done

status=0
"$bin/Pendra2" "$@" || status=$?
# The launcher ends as soon as it has started an editor, and the editor still needs the
# board; so the board stays until the user closes its window.
if kill -0 "$board" 2>/dev/null; then
  echo "The virtual board '$name' keeps running until you close its window."
  wait "$board" || true
fi
exit "$status"
