#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (the fuzz targets included) in build/;
# ends with ctest's summary.
#   ./test.sh [CTEST ARGS]
#   ZORVA_SANITIZE_PASS=1 ./test.sh   then also builds everything with
#                                     AddressSanitizer and UndefinedBehaviorSanitizer in
#                                     build-sanitize/ and runs those tests again
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 "$@"

if [ "${ZORVA_SANITIZE_PASS:-0}" = 1 ]; then
  echo "== the same tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/)"
  ZORVA_BUILD_DIR=build-sanitize ZORVA_CMAKE_ARGS="-DZORVA_SANITIZE=ON" tools/build.sh
  tools/sanitizer_env.sh ctest --test-dir build-sanitize --output-on-failure -j2 "$@"
fi
