#!/usr/bin/env bash
# Installs the outside programs that some benchmarks time beside Zorva as their anchor
# (the JavaScript library suncalc for bench-astro) into build/bench-anchors. Needs node/npm.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${ZORVA_BUILD_DIR:-build}/bench-anchors"
mkdir -p "$dir"
npm install --prefix "$dir" --no-audit --no-fund --silent suncalc@2.0.2
echo "anchors in $dir/node_modules"
