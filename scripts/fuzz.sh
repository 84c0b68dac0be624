#!/usr/bin/env bash
# Runs libFuzzer on one fuzz target (tests/fuzz/fuzz_<TARGET>.cpp) or on all of
# them, one after another, each for SECONDS. Installs clang and its fuzzing
# runtime when missing, builds into build-fuzz/ and fails on any crash, leak,
# sanitizer report or time-out. The inputs libFuzzer finds go to
# build-fuzz/corpus/<target>/, a failing input to build-fuzz/artifacts/<target>/;
# the seed corpus in the tree is only read.
#
#   scripts/fuzz.sh all 20
#   scripts/fuzz.sh scheme 600
#
# With --runs N every target runs exactly N inputs from a fixed seed, starting
# from the seed corpus alone, so that the same tree fuzzes the same inputs
# every time: CI runs it after the tests and fails on any finding.
#
#   scripts/fuzz.sh --runs 3000 all
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=""
if [ "${1:-}" = "--runs" ]; then
  if [ $# -ne 3 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh --runs N TARGET|all" >&2
    exit 2
  fi
  RUNS=$2
  WHICH=$3
  SECONDS_PER_TARGET=0
elif [ $# -ne 2 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET|all SECONDS" >&2
  echo "       scripts/fuzz.sh --runs N TARGET|all" >&2
  exit 2
else
  WHICH=$1
  SECONDS_PER_TARGET=$2
fi

ALL_TARGETS=()
for f in tests/fuzz/fuzz_*.cpp; do
  n=$(basename "$f" .cpp)
  ALL_TARGETS+=("${n#fuzz_}")
done
if [ "$WHICH" = all ]; then
  TARGETS=("${ALL_TARGETS[@]}")
elif [ -f "tests/fuzz/fuzz_$WHICH.cpp" ]; then
  TARGETS=("$WHICH")
else
  echo "unknown target '$WHICH'; known: ${ALL_TARGETS[*]} all" >&2
  exit 2
fi

bash scripts/install-deps.sh
# Debian 12's clang 14 cannot compile std::expected from g++ 12's library;
# clang 16 can, with the concepts level that library checks for.
FUZZ_PACKAGES=(clang-16 libclang-rt-16-dev)
missing=()
for p in "${FUZZ_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

BUILD=build-fuzz
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-16 \
  -DCMAKE_CXX_FLAGS="-D__cpp_concepts=202002L -Wno-macro-redefined" \
  -DNUMSIEVE_FUZZ=ON >/dev/null
BINARIES=()
for t in "${TARGETS[@]}"; do BINARIES+=("fuzz_${t}_fuzzer"); done
cmake --build "$BUILD" --target "${BINARIES[@]}"

# Leaks and UBSan reports count as failures; a report names the input.
# Allocation stacks are kept two frames deep. Qt's libraries are built without
# frame pointers, so the fast unwinder reads whatever lies on the stack past
# the first Qt frame: nearly every allocation then records a trace never seen
# before, the sanitizer's stack store grows by some seventy traces an input,
# and a run of a million inputs slows tenfold and outgrows the memory limit.
# What is detected stays the same, and the stack where an error happens is
# unwound fully; for the allocation stack of a kept input replay it with
# ASAN_OPTIONS=fast_unwind_on_malloc=0.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1:malloc_context_size=2"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen

failed=()
for t in "${TARGETS[@]}"; do
  work="$BUILD/corpus/$t"
  artifacts="$BUILD/artifacts/$t"
  log="$BUILD/logs/$t.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  seeds=("tests/fuzz/corpus/$t")
  [ -d "tests/fuzz/regressions/$t" ] && seeds+=("tests/fuzz/regressions/$t")
  # Script inputs stay short: a long script is the runner's limits' business,
  # and each input starts a script engine.
  maxlen=""
  [ "$t" = script ] && maxlen="-max_len=160"
  if [ -n "$RUNS" ]; then
    # A fresh working corpus: what earlier runs found must not change the inputs.
    work=$(mktemp -d)
    limits=(-seed=1 -runs="$RUNS")
    echo "== $t: $RUNS runs from seed 1"
  else
    limits=(-max_total_time="$SECONDS_PER_TARGET")
    echo "== $t: ${SECONDS_PER_TARGET}s"
  fi
  status=0
  "$BUILD/bin/fuzz_${t}_fuzzer" "$work" "${seeds[@]}" \
    "${limits[@]}" -timeout=10 -rss_limit_mb=2560 $maxlen \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
  [ -n "$RUNS" ] && rm -rf "$work"
  if [ $status -ne 0 ] || grep -qE "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:" "$log"; then
    echo "FAILED $t (exit $status); log: $log" >&2
    tail -n 40 "$log" >&2
    failed+=("$t")
    continue
  fi
  runs=$(grep -oE "stat::number_of_executed_units: [0-9]+" "$log" | awk '{print $2}' | tail -n1)
  last=$(grep -E "^#[0-9]+.*(DONE|cov:)" "$log" | tail -n1)
  cov=$(grep -oE "cov: [0-9]+" <<<"$last" | awk '{print $2}')
  ft=$(grep -oE "ft: [0-9]+" <<<"$last" | awk '{print $2}')
  echo "   ok: ${runs:-?} executions, cov ${cov:-?}, ft ${ft:-?}"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "all clean: ${TARGETS[*]}"
