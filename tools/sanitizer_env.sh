#!/usr/bin/env bash
# Runs a command (ctest, a test binary, zorva-cli of build-sanitize/) with the sanitizer
# settings of the test pass: every finding ends the process with a report, leaks included.
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:check_initialization_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$@"
