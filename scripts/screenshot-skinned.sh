#!/usr/bin/env bash
# screenshot-skinned.sh [varnel|tobrin] [OUT.png] — builds the program's
# skinned test build (VarnelSkinned.exe or TobrinSkinned.exe) and the
# generated test skin, and captures the program with its skinned controls
# painted from that skin (default docs/varnel-skinned.png or
# docs/tobrin-skinned.png), on a private Xvfb display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
program=varnel
case "${1:-}" in
  varnel | tobrin) program=$1; shift ;;
esac
case "$program" in
  varnel) target=VarnelSkinned exe=tests/panel/VarnelSkinned.exe title="Varnel" ;;
  tobrin)
    target=TobrinSkinned exe=tests/soundbank_test/TobrinSkinned.exe
    title="Mirvale Sound Banks test checksum"
    ;;
esac
out="${1:-$ROOT/docs/$program-skinned.png}"
b="$BUILD_DIR/x86_64"
cmake --build "$b" --target "$target" make_test_skin close_window
source "$here/wine-session.sh"
start_wine_session private
skins=$(mktemp -d)
trap 'rm -rf "$skins"' EXIT
wine "$b/tests/support/test_skin/make_test_skin.exe" "$(winepath -w "$skins/Tessera")" >/dev/null
"$here/screenshot.sh" "$b/$exe" "$title" "$out" "$(winepath -w "$skins")" "Tessera"
