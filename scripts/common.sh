# Shared settings of the project's scripts; sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS_DIR="${VARNEL_DEPS_DIR:-/var/cache/varnel-deps}"
BUILD_DIR="${VARNEL_BUILD_DIR:-$ROOT/build}"
export CCACHE_DIR="${CCACHE_DIR:-$DEPS_DIR/ccache}"
# Paths below the checkout's parent are hashed relative to it, so a second
# checkout of the project (a git worktree) reuses the compiled objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$ROOT")}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
