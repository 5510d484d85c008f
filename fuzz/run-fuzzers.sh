#!/bin/sh
# Runs every fuzz target for a bounded time and fails on any finding.
#   fuzz/run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
# Each target starts from its seeds (regenerated from the project's files)
# and from the corpus that earlier runs grew in BUILD_DIR/corpus. libFuzzer
# stops at the first crash, sanitizer report, leak, broken round trip
# (a trap), input slower than FUZZ_TIMEOUT seconds, or memory use past
# FUZZ_RSS_MB; the input is saved in BUILD_DIR/artifacts and the log in
# BUILD_DIR/logs. One line per target reports the executions.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=$2
timeout=${FUZZ_TIMEOUT:-10}
rss=${FUZZ_RSS_MB:-2048}

"$here/seed-corpus.sh" "$here/.." "$build/seeds"
mkdir -p "$build/artifacts" "$build/logs" "$build/tmp"
# The workspace target writes every input to a scratch file: in memory
# (/dev/shm) that runs about three times faster than on the build disk.
scratch=$(mktemp -d /dev/shm/pelk-fuzz.XXXXXX 2>/dev/null || mktemp -d "$build/tmp/XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

failed=""
for target in workspace formula; do
    mkdir -p "$build/corpus/$target"
    log="$build/logs/$target.log"
    status=0
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb="$rss" \
        -dict="$here/$target.dict" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$build/corpus/$target" "$build/seeds/$target" > "$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    corpus=$(ls "$build/corpus/$target" | wc -l)
    if [ "$status" -eq 0 ]; then
        echo "fuzz_$target: ${runs:-?} executions in $seconds s, no finding (corpus: $corpus inputs)"
    else
        echo "fuzz_$target: FINDING after ${runs:-?} executions (exit status $status); log: $log"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|Broken|Formula fuzz|artifact_prefix|Test unit written)' "$log" || tail -n 30 "$log"
        failed="$failed fuzz_$target"
    fi
done

if [ -n "$failed" ]; then
    echo "Fuzzing found faults in:$failed"
    exit 1
fi
