#!/usr/bin/env bash
# The main window under a real X server with a window manager, at scale 1
# and 2 on a 1280 x 800 screen: its frame lies wholly on the screen.
# Usage: placement-under-x.sh ORVANTA-SCANNER PROJECT.orv
set -euo pipefail
scanner=$1 project=$2
for tool in Xvfb openbox xdotool; do
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
for scale in 1 2; do
  QT_SCALE_FACTOR=$scale "$scanner" "$project" >/dev/null 2>&1 & app=$!
  pids+=($app)
  window=$(xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1)
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  right=$((X + WIDTH)) bottom=$((Y + HEIGHT))
  echo "scale $scale: window ${WIDTH}x${HEIGHT} at $X,$Y"
  if (( X < 0 || Y < 0 || right > 1280 || bottom > 800 )); then
    echo "scale $scale: the main window is off the screen"
    status=1
  fi
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
done
exit $status
