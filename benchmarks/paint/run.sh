#!/usr/bin/env bash
# Builds the x86_64 tree and runs the painter benchmark under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bash "$root/scripts/build.sh" x86_64 >/dev/null
source "$root/scripts/common.sh"
source "$root/scripts/wine-session.sh"
start_wine_session private
wine "$BUILD_DIR/x86_64/benchmarks/paint/paint_benchmark.exe"
