#!/usr/bin/env bash
# A drag of the window's top bar moves the window: the real executable in
# Xvfb, dragged with xdotool. Xvfb has no window manager, so the window
# follows the pointer itself, as where the platform offers no move of its own.
#
#   e2e_move.sh <updater>
set -euo pipefail

updater=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
mkdir -p "$work/app/download"
cp "$updater" "$work/app/BrenvothUpdater"
start_display

"$work/app/BrenvothUpdater" &
pids+=($!)
wait_for 120 xdotool search --onlyvisible --name '^Frame$' >/dev/null || fail "the window did not appear"
window=$(xdotool search --onlyvisible --name '^Frame$' | head -n1)
position() { xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'; }
read -r x0 y0 < <(position)

# Pressed on the logo, 200 to the right and 100 down, released.
xdotool mousemove --sync $((x0 + 60)) $((y0 + 20)) mousedown 1
for step in 1 2 3 4; do
    xdotool mousemove --sync $((x0 + 60 + step * 50)) $((y0 + 20 + step * 25))
done
xdotool mouseup 1
moved() { read -r x y < <(position); [ "$x" -eq $((x0 + 200)) ] && [ "$y" -eq $((y0 + 100)) ]; }
wait_for 10 moved || fail "the window is at $(position), not 200 right and 100 down of $x0 $y0"

# Pressed on the notes, the window stays.
read -r x1 y1 < <(position)
xdotool mousemove --sync $((x1 + 200)) $((y1 + 150)) mousedown 1 mousemove --sync $((x1 + 300)) $((y1 + 250)) mouseup 1
xdotool sync 2>/dev/null || true
read -r x2 y2 < <(position)
[ "$x2" -eq "$x1" ] && [ "$y2" -eq "$y1" ] || fail "a drag in the notes moved the window to $x2 $y2"
echo "PASS: the top bar moved the window from $x0 $y0 to $x1 $y1"
