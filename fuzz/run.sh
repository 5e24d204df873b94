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
# The program's records are never released (they live for one run), so a
# harness running thousands of problems in one process grows by tens of
# kilobytes per input: each libFuzzer process runs at most `chunk` seconds,
# and the next one goes on from the corpus it left.
chunk=120
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    : > "build-fuzz/$t.log"
    left=$seconds
    found=0
    while [ "$left" -gt 0 ] && [ $found -eq 0 ]; do
        run=$(( left < chunk ? left : chunk ))
        left=$(( left - run ))
        # The harness works in a scratch directory of its own: every path is absolute.
        if ! /usr/bin/time -f "$t: %U s user %S s system" build-fuzz/fuzz_$t -max_total_time="$run" -max_len=8192 \
            -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$root/build-fuzz/findings/$t-" \
            "$root/build-fuzz/corpus/$t" "$root/tests/fuzz/corpus/$t" >> "build-fuzz/$t.log" 2>&1; then
            echo "fuzz_$t: FINDING, see build-fuzz/$t.log and build-fuzz/findings/" >&2
            status=1
            found=1
        fi
    done
    awk -v t="$t" '$1 == t ":" { u += $2; s += $5 } /number_of_executed_units/ { n += $2 }
        END { printf "fuzz_%s: %d inputs, %.0f CPU s (user %.0f, system %.0f)\n", t, n, u + s, u, s }' "build-fuzz/$t.log"
done
exit $status
