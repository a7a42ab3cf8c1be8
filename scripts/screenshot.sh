#!/usr/bin/env bash
# screenshot.sh EXE WINDOW-TITLE OUT.png — starts EXE under the running Wine
# session, waits for its window, captures it, and closes the program.
# Message boxes are recorded, not shown, so the capture is never covered.
set -euo pipefail
exe=$1 title=$2 out=$3
log=$(mktemp)
VARNEL_MESSAGE_LOG="$log" wine "$exe" >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name "^${title}\$" 2>/dev/null | tail -n 1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || { echo "window '$title' did not appear" >&2; kill "$pid"; exit 1; }
sleep 1.5
import -window "$win" "$out"
xdotool windowclose "$win" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
rm -f "$log"
echo "saved $out"
