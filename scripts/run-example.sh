#!/usr/bin/env bash
# Builds corvan and runs it on a bundled example (default: hole).
#   scripts/run-example.sh [square|hole|...]
# The outputs go to out/<example>/ (ignored by git).
# Installs the Debian packages it needs first (only when one is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:-hole}

. scripts/deps.sh
corvan_install g++ cmake make libgtest-dev libgmock-dev

if [ ! -f "examples/boundary.$name" ]; then
    echo "no example named '$name'; the examples are:" >&2
    ls examples | sed -n 's/^boundary\.//p' >&2
    exit 2
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target corvan -j"$(nproc)"

out="out/$name"
mkdir -p "$out"
cp examples/* "$out"/
(cd "$out" && echo "$name" | ../../build/corvan | tee run.log)
echo
echo "corvan ran on example '$name'; its files are in $(pwd)/$out:"
ls "$out" | grep -E "^(knots|geometry|grid|nodes|gridplot|backplot|extplot)\.$name$" | sed 's/^/  /'
