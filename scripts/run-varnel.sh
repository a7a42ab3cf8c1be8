#!/usr/bin/env bash
# Installs what is missing, builds, and starts Varnel under Wine: on the current
# display when there is one, else on a private Xvfb display with a screenshot.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
"$here/install-deps.sh"
"$here/build.sh" x86_64
source "$here/wine-session.sh"
exe="$BUILD_DIR/x86_64/panel/Varnel.exe"
if [ -n "${DISPLAY:-}" ]; then
  start_wine_session current
  wine "$exe"
else
  start_wine_session private
  "$here/screenshot.sh" "$exe" "Varnel" "$BUILD_DIR/varnel.png"
  echo "no display: Varnel ran on a private Xvfb display; screenshot in $BUILD_DIR/varnel.png"
fi
