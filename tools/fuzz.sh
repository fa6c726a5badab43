#!/bin/sh
# Builds the libFuzzer targets with clang into FUZZ_BUILD (default build-fuzz) and runs
# each one for FUZZ_SECONDS (default 60) over its seed corpus. Exits non-zero when
# any target finds something; the input that triggered it is left in
# FUZZ_BUILD/findings/ with the target's log.
#   tools/fuzz.sh [target ...]     (default: every target)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-2}

CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++} \
    cmake -S "$root" -B "$build" -DTESSARO_FUZZ=ON -DTESSARO_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzzers -j "$jobs"
# tests/fuzz/CMakeLists.txt lists the targets.
targets=${*:-$(cat "$build/tests/fuzz/targets.txt")}

mkdir -p "$build/findings"
status=0
for t in $targets; do
    seeds="$root/tests/fuzz/corpus/$t"
    # New inputs go to a working corpus in the build tree; the seeds stay as committed.
    work="$build/corpus/$t"
    mkdir -p "$work"
    echo "== $t: ${seconds}s"
    if ! "$build/tests/fuzz/${t}_fuzzer" "$work" "$seeds" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
        >"$build/findings/$t.log" 2>&1; then
        echo "!! $t: finding, see $build/findings/$t.log"
        grep -E "ERROR|property violated|SUMMARY|Test unit written" "$build/findings/$t.log" || true
        status=1
    else
        grep -E "stat::number_of_executed_units|cov:" "$build/findings/$t.log" | tail -2
    fi
done
exit $status
