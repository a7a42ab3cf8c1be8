#!/usr/bin/env bash
# screenshot-skinned.sh [varnel|tobrin] [OUT.png] — builds the program's
# skinned test build (VarnelSkinned.exe or TobrinSkinned.exe) and the
# generated test skin, and captures the program with its skinned controls
# painted from that skin (default docs/varnel-skinned.png or
# docs/tobrin-skinned.png), on a private Xvfb display. Tobrin runs beside the
# tests' recording MIDI stand-in with 24 made-up output ports, enough to
# show its list box's scroll bar.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
program=varnel
case "${1:-}" in
  varnel | tobrin) program=$1; shift ;;
esac
environment=()
case "$program" in
  varnel) targets=(VarnelSkinned) exe=tests/panel/VarnelSkinned.exe title="Varnel" ;;
  tobrin)
    # The copy step puts the stand-in winmm.dll beside TobrinSkinned.exe.
    targets=(TobrinSkinned soundbank_test_tests_winmm_stub)
    exe=tests/soundbank_test/TobrinSkinned.exe
    title="Mirvale Sound Banks test checksum"
    ports="Port 0"
    for i in $(seq 1 23); do ports+="|Port $i"; done
    environment=("VARNEL_MIDI_PORTS=$ports")
    ;;
esac
out="${1:-$ROOT/docs/$program-skinned.png}"
b="$BUILD_DIR/x86_64"
cmake --build "$b" --target "${targets[@]}" make_test_skin close_window
source "$here/wine-session.sh"
start_wine_session private
# Wine loads the stand-in from the program's folder only when told to.
[ "$program" = tobrin ] && environment+=("WINEDLLOVERRIDES=winmm=n,b;$WINEDLLOVERRIDES")
skins=$(mktemp -d)
trap 'rm -rf "$skins"; stop_wine_session' EXIT
wine "$b/tests/support/test_skin/make_test_skin.exe" "$(winepath -w "$skins/Tessera")" >/dev/null
"$here/screenshot.sh" "${environment[@]}" "$b/$exe" "$title" "$out" "$(winepath -w "$skins")" \
  "Tessera"
