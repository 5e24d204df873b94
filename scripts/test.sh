#!/usr/bin/env bash
# Builds corvan and runs every test.
#   scripts/test.sh              optimised build in build/
#   scripts/test.sh --sanitize   debug build with AddressSanitizer and
#                                UndefinedBehaviorSanitizer in build-sanitize/
# Installs the Debian packages it needs first (only when one is missing).
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/deps.sh
corvan_install g++ cmake make libgtest-dev libgmock-dev python3 python3-meshio

python3 scripts/check-layers.py

if [ "${1:-}" = "--sanitize" ]; then
    build=build-sanitize
    opts=(-DCMAKE_BUILD_TYPE=Debug -DCORVAN_SANITIZE=ON -DCORVAN_WERROR=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    build=build
    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVAN_WERROR=ON)
fi

cmake -S . -B "$build" "${opts[@]}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
