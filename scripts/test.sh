#!/usr/bin/env bash
# Installs what is missing, builds x86_64 and i686, and runs every test under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-deps.sh"
"$here/build.sh" all
exec "$here/run-tests.sh"
