#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening run:
#   sanitize  builds the whole tree with AddressSanitizer and
#             UndefinedBehaviorSanitizer (g++, build-asan/) and runs the whole
#             test suite there, the window storm at STORM_SEQUENCES (default
#             2000) sequences of STORM_ACTIONS (default 50) actions; any
#             sanitizer report fails the run.
#   fuzz      builds the libFuzzer targets of fuzz/ (clang, build-fuzz/) and
#             runs each for FUZZ_SECONDS (default 60) seconds after replaying
#             its corpus; prints executions and corpus sizes.
# With no argument both run, and the run fails if either does. A longer
# fuzzing run:
#   FUZZ_SECONDS=3600 bash scripts/hardening.sh fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-$(nproc)}

sanitize() {
    local build=$root/build-asan
    cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_SANITIZE=ON \
        -DBUILD_TESTING=ON -DORVANTA_WERROR=ON \
        -DORVANTA_STORM_SEQUENCES="${STORM_SEQUENCES:-2000}" -DORVANTA_STORM_ACTIONS="${STORM_ACTIONS:-50}" \
        >/dev/null
    # Reports also go to files, so that one from a process whose exit status
    # nobody checks still fails the run.
    local reports=$build/sanitizer-reports
    rm -rf "$reports"
    mkdir -p "$reports"
    export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1:log_path=$reports/asan"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
    # Test discovery runs the test programs while building.
    cmake --build "$build" -j"$jobs"
    local status=0
    # The package tests build with Debian's flags, not these, and the style
    # check reads sources: neither runs sanitized code.
    ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$jobs" -E '^(Package|Style)\.' || status=$?
    grep -h '^Storm: ' "$build/Testing/Temporary/LastTest.log" || true
    if [ -n "$(ls -A "$reports")" ]; then
        echo "hardening: sanitizer reports:" >&2
        for report in "$reports"/*; do
            echo "== $report" >&2
            cat "$report" >&2
        done
        status=1
    fi
    [ "$status" -eq 0 ] && echo "hardening: sanitizer run clean"
    return "$status"
}

# One fuzzer for FUZZ_SECONDS: its summary line goes to build-fuzz/NAME.summary.
fuzz_one() {
    local name=$1 build=$root/build-fuzz
    local corpus=$build/corpus/$name log=$build/$name.log
    mkdir -p "$corpus" "$build/crashes"
    echo "hardening: fuzzing $name for ${FUZZ_SECONDS:-60} s"
    # New inputs go to the build's corpus; the committed seeds stay as they
    # are and are replayed first.
    if ! "$build/fuzz/${name}_fuzzer" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$name-" "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "hardening: $name failed; the input is in $build/crashes/" >&2
        return 1
    fi
    local runs corp files
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    corp=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -n 1 | cut -d' ' -f2)
    files=$(find "$corpus" -type f | wc -l)
    echo "$name: $runs executions; corpus ${corp%%/*} inputs, ${corp#*/}; $files inputs kept in $corpus" \
        >"$build/$name.summary"
}

fuzz() {
    local build=$root/build-fuzz
    export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DORVANTA_FUZZERS=ON -DBUILD_TESTING=OFF \
        -DORVANTA_WERROR=ON >/dev/null
    cmake --build "$build" --target fuzzers -j"$jobs"
    local names=() name target
    for target in "$root"/fuzz/corpus/*/; do names+=("$(basename "$target")"); done
    # As many fuzzers at a time as the machine has cores.
    local first pids pid failed=0
    for ((first = 0; first < ${#names[@]}; first += jobs)); do
        pids=()
        for name in "${names[@]:first:jobs}"; do
            fuzz_one "$name" &
            pids+=($!)
        done
        for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
        ((failed == 0)) || return 1
    done
    echo "hardening: fuzzing done"
    for name in "${names[@]}"; do printf '  %s\n' "$(cat "$build/$name.summary")"; done
}

bash scripts/deps.sh build test
case "${1:-all}" in
    sanitize) sanitize ;;
    fuzz) fuzz ;;
    all)
        # Each part in a shell of its own, so that a failing part still
        # leaves the other one to run and errexit holds inside both.
        status=0
        bash "$root/scripts/hardening.sh" sanitize || status=1
        bash "$root/scripts/hardening.sh" fuzz || status=1
        exit "$status"
        ;;
    *) echo "usage: hardening.sh [sanitize|fuzz]" >&2; exit 2 ;;
esac
