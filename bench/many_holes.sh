#!/usr/bin/env bash
# Meshes a square plate with an N x N array of circular holes at uniform
# spacing and prints one markdown table row: triangles, boundary segments,
# wall time and peak memory of the whole run, bytes per triangle,
# triangles per second.
#
#   bench/many_holes.sh [--holes N] [--small] [--spacing H]
#
#   --holes N     holes per side (default 30: 900 holes, about 62,700
#                 boundary segments and 4.7 million triangles)
#   --small       10 x 10 holes, for trying the script out
#   --spacing H   the target spacing everywhere (default 0.02)
#
# The plate is [0, N] x [0, N], a hole of radius 0.2 in the middle of every
# unit cell. The outer boundary runs clockwise and each hole is a whole
# circle run counter-clockwise (as in examples/boundary.hole), so the domain
# lies to the right of every edge. Builds corvan optimised in build-bench/;
# writes the problem and the grid to bench-holes-out/ (ignored by git).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
holes=30
h=0.02
while [ $# -gt 0 ]; do
    case $1 in
        --holes) [ $# -ge 2 ] || usage; holes=$2; shift 2 ;;
        --small) holes=10; shift ;;
        --spacing) [ $# -ge 2 ] || usage; h=$2; shift 2 ;;
        -h|--help) usage ;;
        *) echo "unknown option: $1" >&2; usage ;;
    esac
done
[[ $holes =~ ^[1-9][0-9]*$ ]] || { echo "not a hole count: $holes" >&2; exit 2; }
awk -v h="$h" 'BEGIN { exit !(h + 0 == h && h > 0) }' || { echo "not a spacing: $h" >&2; exit 2; }

. bench/lib.sh
bench_build_corvan

mkdir -p bench-holes-out
cd bench-holes-out
name="holes${holes}x$holes"

# Edges 1-4 the outer lines, clockwise from (0,0); edge 4+k the k-th hole,
# a closed curve on its own vertex 4+k.
awk -v n="$holes" -v h="$h" 'BEGIN {
    ne = 4 + n * n
    printf "corvan boundary file: a plate with %d x %d circular holes\n", n, n
    print "outer boundary clockwise, holes counter-clockwise"
    printf "radius 0.2, uniform spacing %s\n  n_vert n_edge\n%d %d\n.\n.\n.\n", h, ne, ne
    x[1] = 0; y[1] = 0; x[2] = 0; y[2] = n; x[3] = n; y[3] = n; x[4] = n; y[4] = 0
    for (e = 1; e <= 4; e++)
        printf ".\nline\n 11  %d %d  %d %d\n.\n.\n", x[e], y[e], x[e % 4 + 1], y[e % 4 + 1]
    for (i = 1; i <= n; i++)
        for (j = 1; j <= n; j++)
            printf ".\ncircle\n 17  %.1f %.1f  0.2  0 360\n.\n.\n", i - 0.5, j - 0.5
    print "topology"
    for (e = 1; e <= ne; e++)
        printf ".\n.\n.\n%d 2 %d %d\n.\n1 0.0 %s\n1 1.0 %s\n.\n", e, e,
            (e <= 4 ? e % 4 + 1 : e), h, h
}' > "boundary.$name"
bench_uniform_domain "$name"

echo "meshing $name at spacing $h ..." >&2
bench_timed "$name" "$corvan_exe" <<< "$name"
read -r tri seg < <(bench_corvan_counts "$name")

awk -v n="$holes" -v h="$h" -v t="$tri" -v s="$seg" -v w="$bench_wall" -v r="$bench_rss" "$bench_awk_group"'
    BEGIN {
        print "| holes | spacing | triangles | boundary segments | wall time s | peak memory MiB | bytes/triangle | triangles/s |"
        print "|---|---|---|---|---|---|---|---|"
        printf "| %dx%d | %s | %s | %s | %.2f | %.1f | %.0f | %s |\n", n, n, h, group(t), group(s),
            w, r / 1024, r * 1024 / t, group(w > 0 ? t / w : 0)
    }'
