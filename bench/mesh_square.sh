#!/usr/bin/env bash
# Meshes the unit square with uniform spacing and reports, per spacing, the
# triangle count, the wall time, the peak memory and triangles per second.
#   bench/mesh_square.sh [spacing ...]     (default: 0.02 0.005 0.002 0.001)
# Builds corvan optimised in build-bench/ first; runs in bench-out/ (ignored by git).
# bench/compare_peers.sh runs the same problem beside two other meshers.
set -euo pipefail
cd "$(dirname "$0")/.."
spacings=("$@")
[ ${#spacings[@]} -gt 0 ] || spacings=(0.02 0.005 0.002 0.001)

. bench/lib.sh
bench_build_corvan

mkdir -p bench-out
cd bench-out
printf '%10s %12s %10s %12s %14s\n' spacing triangles wall_s peak_MiB triangles/s
for h in "${spacings[@]}"; do
    name="sq$h"
    bench_square_problem "$name" "$h"
    bench_timed "$name" "$corvan_exe" <<< "$name"
    read -r tri _ < <(bench_corvan_counts "$name")
    awk -v h="$h" -v t="$tri" -v w="$bench_wall" -v r="$bench_rss" \
        'BEGIN { printf "%10s %12d %10.2f %12.1f %14.0f\n", h, t, w, r / 1024, (w > 0 ? t / w : 0) }'
done
