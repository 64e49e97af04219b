#!/bin/bash
# Runs the round trip of generated RTF documents for a long time, seed after
# seed in chunks, and reports how many seeds ran clean and how long it took.
# Usage: bench/rtf-roundtrip-soak.sh [HOURS] [BUILD_DIR]
# HOURS may be a fraction (0.25 is a quarter of an hour; default 1). The
# sanitizer build (build-sanitize) is used when it is there, as it also
# reports memory and undefined-behaviour faults; otherwise build.
# FIRST_SEED and CHUNK (seeds per run of the test) may be set in the
# environment. The first failing chunk stops the run; its output names the
# seed and the smallest input that still fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
hours=${1:-1}
build=${2:-}
if [ -z "$build" ]; then
  build="$root/build-sanitize"
  [ -x "$build/tests/test_richtext" ] || build="$root/build"
fi
test="$build/tests/test_richtext"
[ -x "$test" ] || { echo "missing $test (build test_richtext first)" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

first=${FIRST_SEED:-1}
chunk=${CHUNK:-20000}
seconds=$(awk -v h="$hours" 'BEGIN { printf "%d", h * 3600 }')
start=$(date +%s)
seed=$first
while [ $(($(date +%s) - start)) -lt "$seconds" ]; do
  if ! output=$("$test" --gtest_filter='RoundTripProperty.GeneratedDocuments*' \
                        --first-seed "$seed" --seeds "$chunk" 2>&1); then
    echo "$output"
    echo "failed within seeds $seed to $((seed + chunk - 1)), after $((seed - first)) clean seeds" >&2
    exit 1
  fi
  seed=$((seed + chunk))
done
echo "$((seed - first)) seeds ($first to $((seed - 1))) ran clean in $(($(date +%s) - start)) s with $build"
