#!/usr/bin/env bash
# Meshes the unit square with corvan, CGAL's Delaunay refinement and Gmsh's
# frontal-Delaunay mesher at the same spacings and prints one markdown table:
# triangles, wall time and peak memory of the whole process, bytes per
# triangle, triangles per second, and corvan's time over each peer's.
#
#   bench/compare_peers.sh [--sizes 0.005,0.002,0.001] [--quick]
#                          [--gmsh-min-spacing H]
#
#   --sizes LIST           spacings, comma- or blank-separated
#                          (default 0.005 0.002 0.001)
#   --quick                0.005 and 0.002 only, for trying the script out
#   --gmsh-min-spacing H   leave Gmsh out at spacings below H (it is the
#                          slowest of the three on fine grids)
#
# The problem per tool, spacing h:
#   corvan  the boundary at uniform spacing h (as bench/mesh_square.sh)
#   CGAL    bench/peers/cgal_square.cpp: refine_Delaunay_mesh_2 with shape bound
#           0.125 and edge bound 1.5 h; writes no file
#   Gmsh    gmsh -2 -algo front2d -nt 1 on a .geo with characteristic length
#           h; writes the .msh file
# For each spacing the three run one after another, so they share the
# machine's conditions. Installs gmsh and libcgal-dev when missing, builds
# corvan optimised in build-bench/ and the CGAL driver beside it; runs in
# bench-peers-out/ (ignored by git). Progress goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
sizes=(0.005 0.002 0.001)
gmsh_min=0
while [ $# -gt 0 ]; do
    case $1 in
        --sizes) [ $# -ge 2 ] || usage; IFS=', ' read -r -a sizes <<< "$2"; shift 2 ;;
        --quick) sizes=(0.005 0.002); shift ;;
        --gmsh-min-spacing) [ $# -ge 2 ] || usage; gmsh_min=$2; shift 2 ;;
        -h|--help) usage ;;
        *) echo "unknown option: $1" >&2; usage ;;
    esac
done
for h in "${sizes[@]}" "$gmsh_min"; do
    awk -v h="$h" 'BEGIN { exit !(h + 0 == h && h >= 0) }' ||
        { echo "not a spacing: $h" >&2; exit 2; }
done

. bench/lib.sh
corvan_install gmsh libcgal-dev
echo "building corvan and the CGAL driver ..." >&2
bench_build_corvan
cgal_exe=$(pwd)/build-bench/cgal_square
if [ ! -x "$cgal_exe" ] || [ bench/peers/cgal_square.cpp -nt "$cgal_exe" ]; then
    g++ -std=c++17 -O2 -DNDEBUG bench/peers/cgal_square.cpp -o "$cgal_exe" -lgmp -lmpfr
fi

mkdir -p bench-peers-out
cd bench-peers-out

gmsh_geo() {
    local h=$1
    printf 'h = %s;\n' "$h"
    printf 'Point(1) = {0, 0, 0, h};\nPoint(2) = {0, 1, 0, h};\n'
    printf 'Point(3) = {1, 1, 0, h};\nPoint(4) = {1, 0, 0, h};\n'
    printf 'Line(1) = {1, 2};\nLine(2) = {2, 3};\nLine(3) = {3, 4};\nLine(4) = {4, 1};\n'
    printf 'Curve Loop(1) = {1, 2, 3, 4};\nPlane Surface(1) = {1};\n'
}

# The triangles (element type 2) of an MSH 4.1 file.
gmsh_triangles() {
    awk '$1 == "$Elements" {
             getline; blocks = $1
             for (b = 0; b < blocks; b++) {
                 getline; n = $4; if ($3 == 2) t += n
                 for (i = 0; i < n; i++) getline
             }
             print t + 0; exit
         }' "$1"
}

rows=()   # tool spacing triangles wall_s rss_KiB
for h in "${sizes[@]}"; do
    echo "spacing $h: corvan ..." >&2
    name="sq$h"
    bench_square_problem "$name" "$h"
    bench_timed "corvan.$h" "$corvan_exe" <<< "$name"
    read -r tri _ < <(bench_corvan_counts "$name")
    rows+=("corvan $h $tri $bench_wall $bench_rss")

    echo "spacing $h: CGAL ..." >&2
    bench_timed "cgal.$h" "$cgal_exe" "$h"
    tri=$(awk '$1 == "triangles" {print $2}' "run.cgal.$h.log")
    rows+=("CGAL $h $tri $bench_wall $bench_rss")

    if awk -v h="$h" -v m="$gmsh_min" 'BEGIN { exit !(h + 0 >= m + 0) }'; then
        echo "spacing $h: Gmsh ..." >&2
        gmsh_geo "$h" > "$name.geo"
        bench_timed "gmsh.$h" gmsh -2 -algo front2d -nt 1 "$name.geo" -o "$name.msh"
        tri=$(gmsh_triangles "$name.msh")
        rows+=("Gmsh $h $tri $bench_wall $bench_rss")
    fi
done

printf '%s\n' "${rows[@]}" | awk "$bench_awk_group"'
    function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "-" }
    {
        n++; tool[n] = $1; h[n] = $2; tri[n] = $3; wall[n] = $4; rss[n] = $5
        t[$1, $2] = $4
    }
    END {
        print "| tool | spacing | triangles | wall time s | peak memory MiB | bytes/triangle | triangles/s | time corvan/CGAL | time corvan/Gmsh |"
        print "|---|---|---|---|---|---|---|---|---|"
        for (i = 1; i <= n; i++) {
            rc = rg = ""
            if (tool[i] == "corvan") {
                rc = ((("CGAL", h[i]) in t) ? ratio(wall[i], t["CGAL", h[i]]) : "-")
                rg = ((("Gmsh", h[i]) in t) ? ratio(wall[i], t["Gmsh", h[i]]) : "-")
            }
            printf "| %s | %s | %s | %.2f | %.1f | %.0f | %s | %s | %s |\n", tool[i], h[i],
                group(tri[i]), wall[i], rss[i] / 1024, rss[i] * 1024 / tri[i],
                group(wall[i] > 0 ? tri[i] / wall[i] : 0), rc, rg
        }
    }'
printf '\n%s; %s; %s cores; load average at the end %s\n' \
    "$(gmsh --version 2>&1 | head -1 | sed 's/^/Gmsh /')" \
    "CGAL $(dpkg-query -W -f '${Version}' libcgal-dev)" "$(nproc)" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
