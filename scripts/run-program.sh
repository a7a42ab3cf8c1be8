#!/usr/bin/env bash
# run-program.sh varnel|tobrin — installs what is missing, builds, and starts
# the program under Wine: on the current display when there is one (returns
# when the program is closed), else on a private Xvfb display, where it saves a
# screenshot in build/<name>.png and closes the program again.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
case "${1:-}" in
  varnel) exe=panel/Varnel.exe title="Varnel" ;;
  tobrin) exe=soundbank_test/Tobrin.exe title="Mirvale Sound Banks test checksum" ;;
  *)
    echo "usage: run-program.sh varnel|tobrin" >&2
    exit 2
    ;;
esac
shot="$BUILD_DIR/$1.png"
"$here/install-deps.sh"
"$here/build.sh" x86_64
source "$here/wine-session.sh"
if [ -n "${DISPLAY:-}" ]; then
  start_wine_session current
  wine "$BUILD_DIR/x86_64/$exe"
else
  start_wine_session private
  "$here/screenshot.sh" "$BUILD_DIR/x86_64/$exe" "$title" "$shot"
  echo "no display: $title ran on a private Xvfb display; screenshot in $shot"
fi
