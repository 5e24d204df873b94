#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) in
# build-fuzz/ and runs each for SECONDS seconds (default 600), one after
# the other, starting from the seed corpora in tests/fuzz/corpus/.
#   fuzz/run.sh [SECONDS] [TARGET...]
# New corpus entries go to build-fuzz/corpus/TARGET (not kept by git); a
# finding (crash-*, leak-*, timeout-*, oom-*) to build-fuzz/findings/, and
# the script then exits non-zero. Prints the CPU seconds each target ran.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(boundary data knots geometry domain problem)

. scripts/deps.sh
corvan_install clang cmake make
CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz -j2 > /dev/null

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/findings
status=0
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    # The harness works in a scratch directory of its own: every path is absolute.
    if ! /usr/bin/time -f "$t: %U s user %S s system" build-fuzz/fuzz_$t -max_total_time="$seconds" -max_len=8192 \
        -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$root/build-fuzz/findings/$t-" \
        "$root/build-fuzz/corpus/$t" "$root/tests/fuzz/corpus/$t" > "build-fuzz/$t.log" 2>&1; then
        echo "fuzz_$t: FINDING, see build-fuzz/$t.log and build-fuzz/findings/" >&2
        status=1
    fi
    grep -E "^$t: .* user" "build-fuzz/$t.log" || true
    grep -E "stat::number_of_executed_units" "build-fuzz/$t.log" || true
done
exit $status
