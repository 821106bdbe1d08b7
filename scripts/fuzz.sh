#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang (in build-fuzz/)
# and runs each for SECONDS (default 60) from its kept inputs:
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Inputs that reach code the kept ones do not are merged (the smallest set
# that does) into tests/fuzz/corpus/<target>; an input that makes a target
# fail is copied to tests/fuzz/crashes/<target>. The replay tests of the
# normal build run both folders, so commit what this adds.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuel_store service_store fee_store trip_store config
    language_source language_cache key_table csv_line csv_file setup_package cabinet)

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is needed (Debian: clang libclang-rt-14-dev)" >&2
    exit 2
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVANE_BUILD_GUI=OFF -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF \
    -DKELVANE_BUILD_FUZZERS=ON >/dev/null || exit 1
cmake --build build-fuzz --target "${targets[@]/#/kelvane-fuzz-}" || exit 1

failed=0
for t in "${targets[@]}"; do
    work=build-fuzz/work/$t
    rm -rf "$work" && mkdir -p "$work/new" "$work/crashes" "tests/fuzz/corpus/$t"
    echo "== $t: ${seconds}s"
    build-fuzz/tests/fuzz/kelvane-fuzz-"$t" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/crashes/" "$work/new" "tests/fuzz/corpus/$t" \
        >"$work/log" 2>&1
    status=$?
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+.*DONE" "$work/log" || true
    build-fuzz/tests/fuzz/kelvane-fuzz-"$t" -merge=1 "tests/fuzz/corpus/$t" "$work/new" \
        >>"$work/log" 2>&1
    if [ -n "$(ls -A "$work/crashes")" ]; then
        mkdir -p "tests/fuzz/crashes/$t"
        cp "$work/crashes/"* "tests/fuzz/crashes/$t/"
        echo "$t: FAILED on an input, kept in tests/fuzz/crashes/$t (log: $work/log)"
        failed=1
    elif [ $status -ne 0 ]; then
        echo "$t: the fuzzer stopped with status $status (log: $work/log)"
        failed=1
    fi
done
exit $failed
