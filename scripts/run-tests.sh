#!/usr/bin/env bash
# Runs the already built x86_64 tests under Wine; extra arguments go to ctest
# (for example: run-tests.sh -R usb_rpc).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
source "$here/wine-session.sh"
start_wine_session private
cd "$BUILD_DIR/x86_64"
timeout 2400 ctest --output-on-failure -j "$(nproc)" "$@"
