#!/usr/bin/env bash
# screenshot-skinned.sh [OUT.png] — builds the panel's skinned test build and
# the generated test skin, and captures the panel with its sliders painted
# from that skin (default docs/varnel-skinned.png), on a private Xvfb display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
out="${1:-$ROOT/docs/varnel-skinned.png}"
b="$BUILD_DIR/x86_64"
cmake --build "$b" --target VarnelSkinned make_test_skin close_window
source "$here/wine-session.sh"
start_wine_session private
skins=$(mktemp -d)
trap 'rm -rf "$skins"' EXIT
wine "$b/tests/support/test_skin/make_test_skin.exe" "$(winepath -w "$skins/Tessera")" >/dev/null
"$here/screenshot.sh" "$b/tests/panel/VarnelSkinned.exe" "Varnel" "$out" \
  "$(winepath -w "$skins")" "Tessera"
