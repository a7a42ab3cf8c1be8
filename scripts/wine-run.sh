#!/usr/bin/env bash
# wine-run.sh PROGRAM [ARGS...] — runs a built Windows program under Wine on a
# private display, from the program's own folder (where its stand-in DLLs and
# data sit), and answers with its exit code. VARNEL_DLL_OVERRIDES adds Wine DLL
# overrides, e.g. "winusb,setupapi=n" to load stand-ins beside the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
[ $# -ge 1 ] && [ -f "$1" ] || { echo "usage: wine-run.sh PROGRAM [ARGS...]" >&2; exit 2; }
exe="$(realpath "$1")"
shift
source "$here/wine-session.sh"
start_wine_session private
cd "$(dirname "$exe")"
wine "$exe" "$@"
