#!/usr/bin/env bash
# The desktop program under a real X server with a window manager (Xvfb,
# openbox), driven with the keyboard (xdotool) on a 1280 x 800 screen:
# - at scale 1 and 2 the frame of every window it opens lies wholly on the
#   screen: the main window, the flag picker, the flag map, the Locate
#   dialog, and a report window opened from a main window moved to the
#   screen's right edge;
# - closing the main window as the window manager's close box does (wmctrl)
#   ends the program with a picker open, with a run started from the picker
#   under way, with a message box up, and with the files manager open.
# Usage: desktop-under-x.sh ORVANTA-SCANNER PROJECT.orv ORVANTA-MAKE-LARGE
set -euo pipefail
scanner=$1 project=$2 make_large=$3
for tool in Xvfb openbox xdotool wmctrl xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 0; }
done
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

display=:$((90 + RANDOM % 500))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display HOME=$work QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
sleep 1

status=0
fail() { echo "FAILED: $*"; status=1; }

# Starts the program on PROJECT at SCALE; sets app (its process) and main
# (its main window), which opens with the focus on "...".
start() {
  QT_SCALE_FACTOR=$2 "$scanner" "$1" >/dev/null 2>&1 & app=$!
  pids+=($app)
  main=$(xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1)
  sleep 1
}

# The window of the program titled exactly TITLE, once it shows.
window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --all --onlyvisible --pid "$app" --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  return 1
}

# The frame of window ID, from its inside and the frame's extents: x y w h.
frame() {
  local ax ay w h l r t b
  read -r ax ay w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
  IFS=, read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
  echo "$((ax - ${l:-0})) $((ay - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}

# Checks that the window titled TITLE shows, with its frame on the screen.
on_screen() {
  local id x y w h
  id=$(window "$1") || { fail "scale $scale: \"$1\" never showed"; return; }
  sleep 0.3
  read -r x y w h < <(frame "$id")
  echo "scale $scale: \"$1\" ${w}x$h at $x,$y"
  (( x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800 )) || fail "scale $scale: \"$1\" is off the screen"
}

# Closes the main window as the window manager's close box does; the
# program must end within a few seconds.
close_ends_program() {
  wmctrl -i -c "$main"
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || { wait "$app" 2>/dev/null || true; return; }; sleep 0.1; done
  fail "closing the main window $1 did not end the program"
  kill "$app" 2>/dev/null || true
}

# Starts the program on PROJECT at scale 1 and opens the flag picker.
start_picker() {
  start "$1" 1
  xdotool key Tab Tab Tab Tab space
  window "Orvanta Project Scanner" >/dev/null || fail "no flag picker"
}

main_title="Orvanta Project Scanner/ Utility - Lighthouse Keeper"
for scale in 1 2; do
  start "$project" "$scale"
  on_screen "$main_title"
  xdotool key space                      # "..." has the focus
  on_screen "Locate an Orvanta Project"
  xdotool key Escape
  xdotool key shift+Tab shift+Tab shift+Tab space  # "Flag map" (before "Puzzle chart")
  on_screen "Flag Map"
  xdotool key Escape
  xdotool key shift+Tab shift+Tab space  # "Track a flag (scan by flag number)"
  on_screen "Orvanta Project Scanner"
  xdotool key Escape
  # A report opened from a main window at the screen's right edge.
  read -r _ _ w _ < <(frame "$main")
  xdotool windowmove "$main" $((1280 - w)) 40
  sleep 0.5
  xdotool key shift+Tab space            # "Scan for unused flags"
  on_screen "Orvanta Project Report"
  close_ends_program "with a report window up"
done

scale=1
start_picker "$project"
close_ends_program "with the flag picker open"

start_picker "$project"
xdotool type 0
xdotool key Return                     # "Flag number must be between 1 and 255."
sleep 1
close_ends_program "with a message box up"

start "$project" 1
xdotool key Tab Tab space              # "Scan for missing or unused files"
window "Orvanta Project Report" >/dev/null || fail "no report window"
xdotool key Tab Tab Tab Tab space      # "Missing & Unused Files Manager"
window "Missing & Unused Files Manager" >/dev/null || fail "no files manager"
close_ends_program "with the files manager open"

"$make_large" "$work/large" 3000 >/dev/null
start_picker "$work/large/game.orv"
xdotool key Tab Tab space              # "Track ALL flags"
sleep 0.5
xdotool key Return                     # Yes
close_ends_program "during \"Track ALL flags\""

exit $status
