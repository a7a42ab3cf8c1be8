#!/usr/bin/env bash
# Installs every build and test dependency on a Debian 12 machine (run as root)
# and cross-builds the libraries Debian ships no MinGW package for.
# Safe to run again: it only does what is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"

packages=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-wine xdotool imagemagick
  googletest cmake ninja-build ccache dpkg-dev python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$DEPS_DIR"

build_googletest() {
  local arch=$1 out="$DEPS_DIR/$1"
  [ -f "$out/lib/libgtest.a" ] && return 0
  echo "building googletest for $arch"
  local b="$DEPS_DIR/build/googletest-$arch"
  rm -rf "$b"
  cmake -S /usr/src/googletest -B "$b" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
    -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$b" >/dev/null
  cmake --install "$b" >/dev/null
}

fetch_libjpeg_source() {
  local src="$DEPS_DIR/src"
  if ! compgen -G "$src/libjpeg-turbo-*/CMakeLists.txt" >/dev/null; then
    if ! grep -rqs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null &&
       ! grep -rqs 'Types:.*deb-src' /etc/apt/sources.list.d/ 2>/dev/null; then
      printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
        > /etc/apt/sources.list.d/varnel-src.sources
      apt-get update -qq
    fi
    mkdir -p "$src"
    (cd "$src" && apt-get source -qq libjpeg-turbo >/dev/null)
  fi
  compgen -G "$src/libjpeg-turbo-*/CMakeLists.txt" | head -n 1 | xargs dirname
}

build_libjpeg() {
  local arch=$1 out="$DEPS_DIR/$1"
  [ -f "$out/lib/libjpeg.a" ] && return 0
  local srcdir
  srcdir="$(fetch_libjpeg_source)"
  echo "building libjpeg-turbo for $arch"
  local b="$DEPS_DIR/build/libjpeg-$arch"
  rm -rf "$b"
  cmake -S "$srcdir" -B "$b" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_POLICY_DEFAULT_CMP0057=NEW >/dev/null
  cmake --build "$b" >/dev/null
  cmake --install "$b" >/dev/null
}

for arch in x86_64 i686; do
  build_googletest "$arch"
  build_libjpeg "$arch"
done
echo "dependencies ready in $DEPS_DIR"
