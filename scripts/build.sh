#!/usr/bin/env bash
# Configures and builds one or both architectures: build.sh [x86_64|i686|all]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
archs=("${1:-all}")
[ "${archs[0]}" = all ] && archs=(x86_64 i686)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
for arch in "${archs[@]}"; do
  b="$BUILD_DIR/$arch"
  if [ ! -f "$b/build.ninja" ]; then
    cmake -S "$ROOT" -B "$b" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
      -DVARNEL_DEPS_PREFIX="$DEPS_DIR/$arch" "${launcher[@]}" >/dev/null
  fi
  echo "== building $arch"
  cmake --build "$b"
done
