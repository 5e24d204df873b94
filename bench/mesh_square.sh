#!/usr/bin/env bash
# Meshes the unit square with uniform spacing and reports, per spacing, the
# triangle count, the wall time, the peak memory and triangles per second.
#   bench/mesh_square.sh [spacing ...]     (default: 0.02 0.005 0.002 0.001)
# Builds corvan optimised in build-bench/ first; runs in bench-out/ (ignored by git).
set -euo pipefail
cd "$(dirname "$0")/.."
spacings=("$@")
[ ${#spacings[@]} -gt 0 ] || spacings=(0.02 0.005 0.002 0.001)

. scripts/deps.sh
corvan_install g++ cmake make libgtest-dev time

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target corvan -j"$(nproc)" >/dev/null
exe=$(pwd)/build-bench/corvan

mkdir -p bench-out
cd bench-out
printf '%10s %12s %10s %12s %14s\n' spacing triangles wall_s peak_MiB triangles/s
for h in "${spacings[@]}"; do
    name="sq$h"
    {
        printf 'unit square, uniform spacing %s\n.\n.\n  n_vert n_edge\n4 4\n.\n.\n.\n' "$h"
        printf '.\nline\n 11  0 0  0 1\n.\n.\n'
        printf '.\nline\n 11  0 1  1 1\n.\n.\n'
        printf '.\nline\n 11  1 1  1 0\n.\n.\n'
        printf '.\nline\n 11  1 0  0 0\n.\n.\n'
        printf 'topology\n'
        for e in 1 2 3 4; do
            printf '.\n.\n.\n%d 2 %d %d\n.\n1 0.0 %s\n1 1.0 %s\n.\n' "$e" "$e" $((e % 4 + 1)) "$h" "$h"
        done
    } > "boundary.$name"
    printf 'uniform\n 1000000 2\n.\n.\n0\n.\n.\n.\n0\n.\n' > "domain.$name"
    echo "$name" | /usr/bin/time -v "$exe" > "run.$name.log" 2> "time.$name.log"
    tri=$(sed -n 5p "grid.$name" | awk '{print $1}')
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "time.$name.log" |
        awk -F: '{ if (NF == 3) print $1 * 3600 + $2 * 60 + $3; else print $1 * 60 + $2 }')
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "time.$name.log")
    awk -v h="$h" -v t="$tri" -v w="$wall" -v r="$rss" \
        'BEGIN { printf "%10s %12d %10.2f %12.1f %14.0f\n", h, t, w, r / 1024, (w > 0 ? t / w : 0) }'
done
