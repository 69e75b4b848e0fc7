#!/usr/bin/env bash
# Fuzzing of the file readers: a clang build (AddressSanitizer, UndefinedBehaviorSanitizer,
# libFuzzer) of the core folders and one target per reader (fuzz/*_fuzz.cpp), each run for a
# bounded time from its committed seeds (fuzz/corpus/<target>/).
#   tools/fuzz.sh build BUILD_DIR                  configure (once) and build every target
#   tools/fuzz.sh run BUILD_DIR SECONDS TARGET     fuzz one target (hpgl2dxf, settings-file, ...)
#   tools/fuzz.sh tests BUILD_DIR FOLDER           the sanitized tests of one source folder
#                                                  (text, state, astro, plot, dials)
#   tools/fuzz.sh [BUILD_DIR [SECONDS]]            both, for every target (default build/fuzz, 30 s)
# Exit 77 (a skip for ctest) when clang's fuzzer runtime is not installed. What a run finds is
# kept in BUILD_DIR/corpus/<target> for the next run; a crash leaves BUILD_DIR/crash-<target>-*.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"

have_libfuzzer() {
  command -v clang++ >/dev/null &&
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
      clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null
}

targets() {
  for f in "$src"/fuzz/*_fuzz.cpp; do
    local t
    t="$(basename "$f" _fuzz.cpp)"
    echo "${t//_/-}"
  done
}

build() {
  local out="$1"
  if ! have_libfuzzer; then
    echo "clang++ with libFuzzer (clang, libclang-rt-14-dev) is not installed: fuzzing skipped"
    exit 77
  fi
  if [ ! -f "$out/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$src/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "${launcher[@]}" >/dev/null
  fi
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$src}"
  export CCACHE_NOHASHDIR=1
  cmake --build "$out" -j2
}

run() {
  local out="$1" seconds="$2" target="$3"
  local program="$out/fuzz-$target"
  if [ ! -x "$program" ]; then
    have_libfuzzer || { echo "libFuzzer is not installed: fuzzing skipped"; exit 77; }
    echo "$program is not built (tools/fuzz.sh build $out)"
    exit 1
  fi
  # Seeds: the committed corpus; the converter's also takes the sample plots, each behind an
  # option byte (the target reads the first byte as its settings).
  local seeds="$src/fuzz/corpus/$target"
  local found="$out/corpus/$target"
  mkdir -p "$found"
  local dirs=("$found" "$seeds")
  if [ "$target" = hpgl2dxf ]; then
    local plots="$out/seeds/$target"
    mkdir -p "$plots"
    for plt in "$src"/tests/data/plot_*.plt; do
      { printf '\002'; cat "$plt"; } >"$plots/$(basename "$plt")"
    done
    dirs+=("$plots")
  fi
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=64"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  local log="$out/fuzz-$target.log"
  local status=0
  "$program" "${dirs[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=20000 \
    -print_final_stats=1 -artifact_prefix="$out/crash-$target-" >"$log" 2>&1 || status=$?
  local runs
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz-$target FAILED after ${runs:-?} executions (exit $status); the input is kept as $out/crash-$target-*"
    exit 1
  fi
  echo "fuzz-$target: ${runs:-?} executions in $seconds s, corpus $(find "$found" "$seeds" -type f | wc -l) files"
}

# The tests of one folder on the sanitized objects; any finding (leaks included) fails them.
tests() {
  local out="$1" folder="$2"
  local program="$out/sanitized-test-$folder"
  if [ ! -x "$program" ]; then
    have_libfuzzer || { echo "clang is not installed: sanitized tests skipped"; exit 77; }
    echo "$program is not built (tools/fuzz.sh build $out)"
    exit 1
  fi
  export QT_QPA_PLATFORM=offscreen
  "$src/tools/sanitizer_env.sh" "$program" --gtest_brief=1
}

case "${1:-}" in
  build) build "${2:?build directory}" ;;
  tests) tests "${2:?build directory}" "${3:?folder}" ;;
  run) run "${2:?build directory}" "${3:?seconds}" "${4:?target}" ;;
  *)
    out="${1:-$src/build/fuzz}"
    seconds="${2:-30}"
    build "$out"
    for t in $(targets); do run "$out" "$seconds" "$t"; done
    ;;
esac
