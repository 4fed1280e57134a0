#!/usr/bin/env bash
# Opens the program. Without a display it runs it on a virtual X server, saves a
# screenshot of what opened, prints its path and ends.
set -euo pipefail
program=$(realpath "$1")
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

echo "No display found: running the program on a virtual X server instead."
shots="$(dirname "$program")/screenshots"
mkdir -p "$shots"
number=90
while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$number"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
# A window mapped while the window manager is still starting may never be managed.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
"$program" >/dev/null 2>&1 &
app=$!
cleanup() { kill "$app" "$wm" "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
xdotool search --sync --onlyvisible --name '^Setup$' >/dev/null
# The help window opens by itself shortly after the main window.
timeout 10 xdotool search --sync --onlyvisible --name '^Instructions for Settings utility$' >/dev/null 2>&1 || true
sleep 1
shot="$shots/run-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "Screenshot of the program: $shot"
