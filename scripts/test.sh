#!/usr/bin/env bash
# Installs what is missing, builds x86_64 and i686, runs every test under Wine,
# and checks that the no-display start command ends by itself.
# With CI=true the run gets a Wine prefix of its own, made for it and removed
# after it, so nothing an earlier run left behind can hide a failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
"$here/install-deps.sh"
"$here/build.sh" all

if [ "${CI:-}" = true ] && [ -z "${VARNEL_WINEPREFIX:-}" ]; then
  VARNEL_WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/varnel-wine.XXXXXX")"
  export VARNEL_WINEPREFIX
  remove_prefix() {
    WINEPREFIX="$VARNEL_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$VARNEL_WINEPREFIX" wineserver -w >/dev/null 2>&1 || true
    rm -rf "$VARNEL_WINEPREFIX"
  }
  trap remove_prefix EXIT
  echo "== throwaway Wine prefix: $VARNEL_WINEPREFIX"
fi

"$here/run-tests.sh"

echo "== the start command with no display ends by itself"
rm -f "$BUILD_DIR/varnel.png"
started=$(date +%s)
if ! env -u DISPLAY timeout 240 bash "$here/run-varnel.sh" >/dev/null; then
  echo "FAILED: scripts/run-varnel.sh with no display did not end cleanly within 240 s" >&2
  exit 1
fi
[ -s "$BUILD_DIR/varnel.png" ] || { echo "FAILED: no screenshot in $BUILD_DIR/varnel.png" >&2; exit 1; }
echo "ended by itself in $(($(date +%s) - started)) s with $BUILD_DIR/varnel.png"
