#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer and runs each for a while,
# starting from its committed corpus. New inputs go to a scratch folder; a
# crash or a broken property is saved under build-fuzz/findings/ and fails
# the run (copy it into fuzz/corpus/<target>/ once fixed).
#   scripts/fuzz.sh [seconds per target, default 45]
set -eu
cd "$(dirname "$0")/.."

seconds=${1:-45}
./scripts/setup-deps.sh --with-fuzzing

build_dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLFEN_FUZZ=ON
cmake --build "$build_dir"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_strndup=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
findings="$build_dir/findings"
mkdir -p "$findings"
failed=""
for source in fuzz/corpus/*/; do
    target=$(basename "$source")
    scratch="$build_dir/corpus/$target"
    mkdir -p "$scratch"
    log="$build_dir/$target.log"
    if "$build_dir/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$target-" "$scratch" "$source" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed="$failed $target"
        tail -n 40 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf '%-26s %-6s %12s executions\n' "$target" "$result" "${runs:-?}"
done

[ -z "$failed" ] || { echo "fuzzing failed:$failed (inputs in $findings)"; exit 1; }
