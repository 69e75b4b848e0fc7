#!/usr/bin/env bash
# Builds the plot-to-DXF converter's fuzz target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and fuzzes it for a bounded time.
#   tools/fuzz_hpgl2dxf.sh [BUILD_DIR (default build/fuzz)] [SECONDS (default 60)]
# Exit 77 (a skip for ctest) when clang's fuzzer runtime is not installed.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$src/build/fuzz}"
seconds="${2:-60}"

if ! command -v clang++ >/dev/null ||
   ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "clang++ with libFuzzer (clang, libclang-rt-14-dev) is not installed: fuzzing skipped"
  exit 77
fi

if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$src/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$out" -j2

# The sample plots seed the corpus; what the fuzzer finds is kept for the next run.
mkdir -p "$out/corpus"
cp "$src"/tests/data/plot_*.plt "$out/corpus/"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$out/fuzz-hpgl2dxf" "$out/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=20000 -print_final_stats=1 -artifact_prefix="$out/"
