# Shared settings of the project's scripts; sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS_DIR="${VARNEL_DEPS_DIR:-/var/cache/varnel-deps}"
BUILD_DIR="${VARNEL_BUILD_DIR:-$ROOT/build}"
export CCACHE_DIR="${CCACHE_DIR:-$DEPS_DIR/ccache}"
