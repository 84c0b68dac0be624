#!/usr/bin/env bash
# Installs what is needed, builds from the current tree and runs every test.
#   scripts/test.sh              build/ as CI builds it
#   scripts/test.sh --sanitize   the same suite under ASan and UBSan, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/install-deps.sh
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMSIEVE_WERROR=ON -DNUMSIEVE_SANITIZE=ON
  cmake --build build-asan
  export QT_QPA_PLATFORM=offscreen
  # Any report fails its test: UBSan is built not to recover, ASan aborts.
  # Qt's own libraries are not instrumented; LeakSanitizer still sees what
  # our code leaks through them.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  # Instrumented code runs several times slower.
  ctest --test-dir build-asan --output-on-failure --timeout 900
  exit 0
elif [ $# -gt 0 ]; then
  echo "usage: scripts/test.sh [--sanitize]" >&2
  exit 2
fi
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300
