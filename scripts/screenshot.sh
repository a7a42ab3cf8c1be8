#!/usr/bin/env bash
# screenshot.sh [VAR=VALUE...] EXE WINDOW-TITLE OUT.png [ARGS...] — starts EXE
# (with ARGS, and the leading VAR=VALUE words added to its environment) under
# the running Wine session, waits for its window, captures it, and closes the
# program through its own window, as a user would. Exits 0 only when the
# picture is saved and the program ended by itself.
# Message boxes are recorded, not shown, so the capture is never covered.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
environment=()
while [ $# -gt 0 ] && [[ $1 =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; do
  environment+=("$1")
  shift
done
if [ $# -lt 3 ]; then
  echo "usage: screenshot.sh [VAR=VALUE...] EXE WINDOW-TITLE OUT.png [ARGS...]" >&2
  exit 2
fi
exe=$1 title=$2 out=$3
shift 3
closer="$BUILD_DIR/x86_64/tools/close_window.exe"
[ -f "$closer" ] || { echo "screenshot: $closer is not built" >&2; exit 1; }

log=$(mktemp)
env "${environment[@]}" VARNEL_MESSAGE_LOG="$log" wine "$exe" "$@" >/dev/null 2>&1 &
pid=$!
trap 'rm -f "$log"' EXIT

# Ends the program whatever state it is in: first through its window, then by
# its process id as the last resort. Answers 0 when it closed by itself.
end_program() {
  local closed=1
  if wine "$closer" "$title" 10000 >/dev/null; then closed=0; fi
  # The closer waited inside Wine; the Unix process follows within moments.
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: '$title' is still running; ending process $pid" >&2
    kill "$pid" 2>/dev/null || true
    sleep 1
    kill -9 "$pid" 2>/dev/null || true
    closed=1
  fi
  wait "$pid" 2>/dev/null || true
  return "$closed"
}

# The largest visible window of that title: the program may also own a
# window of the same title with no area (the one carrying the task-bar button).
largest_window() {
  local best="" best_area=0 w area
  for w in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
    area=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null |
      awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} END{print (w>1 && h>1) ? w*h : 0}')
    if [ "${area:-0}" -gt "$best_area" ]; then best=$w best_area=$area; fi
  done
  echo "$best"
}

win=""
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  win=$(largest_window) && [ -n "$win" ] && break
  sleep 0.2
done
if [ -z "$win" ]; then
  echo "screenshot: window '$title' did not appear" >&2
  end_program || true
  exit 1
fi
sleep 1.5
import -window "$win" "$out"
if ! end_program; then
  echo "screenshot: '$title' did not close through its window" >&2
  exit 1
fi
echo "saved $out"
