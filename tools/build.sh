#!/usr/bin/env bash
# Configures (once) and builds Zorva into build/ with two jobs. ccache, when installed,
# keeps rebuilds of unchanged sources (and of other checkouts on this machine) cheap.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${ZORVA_BUILD_DIR:-build}"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" ${ZORVA_CMAKE_ARGS:-}
fi
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
export CCACHE_NOHASHDIR=1
cmake --build "$BUILD_DIR" -j2
