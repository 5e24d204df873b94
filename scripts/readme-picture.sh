#!/usr/bin/env bash
# Redraws the README's picture, docs/hole.svg: the hole example as corvan's
# own SVG export draws it. Run it after a change that moves the example's
# grid, and commit the picture with the change.
# Installs the Debian packages it needs first (only when one is missing).
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/deps.sh
corvan_install g++ cmake make libgtest-dev libgmock-dev

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target corvan -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/* "$work"/
(cd "$work" && "$OLDPWD/build/corvan" --export svg hole >/dev/null)
mkdir -p docs
cp "$work/hole.svg" docs/hole.svg
echo "docs/hole.svg redrawn"
