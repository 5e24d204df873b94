#!/usr/bin/env bash
# Runs corvan on four families of problems at three sizes each and prints a
# markdown table: family, size, triangles, wall time, the time ratio per
# doubling of the size and that ratio over 2 (1.0: linear, 2.0: quadratic).
# The target is at most 1.3 times linear.
#
#   bench/scaling.sh [--small] [FAMILY ...]
#
#   --small   half the default sizes, for a quick look
#   FAMILY    any of fine_side boundary steiner background (default: all)
#
# The families:
#   fine_side    a 2 x 0.4 rectangle whose short right side has N points
#                (spacing 0.4 / N), the other sides spacing 0.1: one fine
#                wall next to a coarse far field
#   boundary     the unit square with N boundary points in all
#   steiner      the unit square at spacing 0.05 with N Steiner points on a
#                jittered lattice and one front step
#   background   the unit square at spacing 0.05 with N background points
#                (spacing 0.05) on a jittered lattice and one front step
# The first two keep the boundary triangulation (step limit 0).
# Sizes double: N, 2N, 4N. Builds corvan optimised in build-bench/; writes
# the problems and grids to bench-scaling-out/ (ignored by git). Times are
# wall times of single runs: on a shared machine they are noisy.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
small=0
families=()
while [ $# -gt 0 ]; do
    case $1 in
        --small) small=1; shift ;;
        fine_side|boundary|steiner|background) families+=("$1"); shift ;;
        -h|--help) usage ;;
        *) echo "unknown argument: $1" >&2; usage ;;
    esac
done
[ ${#families[@]} -gt 0 ] || families=(fine_side boundary steiner background)

# First size of each family (the default run uses 4000, 8000, 16000 points).
base=4000
[ $small -eq 0 ] || base=2000

. bench/lib.sh
bench_build_corvan

mkdir -p bench-scaling-out
cd bench-scaling-out

# rectangle NAME W H HRIGHT HOTHER: boundary.NAME, the rectangle [0,W] x [0,H]
# run clockwise from the origin; the right side (edge 3) has spacing HRIGHT.
rectangle() {
    local name=$1 w=$2 ht=$3 hr=$4 ho=$5 e h
    {
        printf 'rectangle %s x %s\n.\n.\n  n_vert n_edge\n4 4\n.\n.\n.\n' "$w" "$ht"
        printf '.\nline\n 11  0 0  0 %s\n.\n.\n' "$ht"
        printf '.\nline\n 11  0 %s  %s %s\n.\n.\n' "$ht" "$w" "$ht"
        printf '.\nline\n 11  %s %s  %s 0\n.\n.\n' "$w" "$ht" "$w"
        printf '.\nline\n 11  %s 0  0 0\n.\n.\n' "$w"
        printf 'topology\n'
        for e in 1 2 3 4; do
            h=$ho
            [ "$e" -ne 3 ] || h=$hr
            printf '.\n.\n.\n%d 2 %d %d\n.\n1 0.0 %s\n1 1.0 %s\n.\n' "$e" "$e" $((e % 4 + 1)) "$h" "$h"
        done
    } > "boundary.$name"
}

# lattice N: N points "x y" on a jittered lattice inside [0.02, 0.98]^2, in
# a shuffled order (in lattice order each point would lie next to the last
# one, which hides the cost of locating it); the same for every run.
lattice() {
    awk -v n="$1" '
        function draw() { seed = (seed * 1103515245 + 12345) % 2147483648; return seed / 2147483648 }
        BEGIN {
            m = int(sqrt(n)); if (m * m < n) m++
            d = 0.96 / m; seed = 12345
            for (k = 0; k < n; k++) cell[k] = k
            for (k = n - 1; k > 0; k--) { r = int(draw() * (k + 1)); t = cell[k]; cell[k] = cell[r]; cell[r] = t }
            for (k = 0; k < n; k++) {
                i = cell[k] % m; j = int(cell[k] / m)
                u = draw(); v = draw()
                printf "%.9f %.9f\n", 0.02 + (i + 0.2 + 0.6 * u) * d, 0.02 + (j + 0.2 + 0.6 * v) * d
            }
        }'
}

# domain NAME STEPS NBACK NSTEINER: domain.NAME with step limit STEPS and no
# smoothing; the background points get spacing 0.05.
domain() {
    local name=$1 steps=$2 nb=$3 ns=$4
    {
        printf 'step limit %d\n %d 0\n.\n.\n%d\n.\n' "$steps" "$steps" "$nb"
        [ "$nb" -eq 0 ] || lattice "$nb" | awk '{ print $1, $2, 0.05 }'
        printf '.\n.\n%d\n.\n' "$ns"
        [ "$ns" -eq 0 ] || lattice "$ns"
    } > "domain.$name"
}

# make_problem FAMILY N: writes the problem and prints its name.
make_problem() {
    local fam=$1 n=$2 name="$1$2"
    case $fam in
        fine_side) rectangle "$name" 2 0.4 "$(awk -v n="$n" 'BEGIN { printf "%.10g", 0.4 / n }')" 0.1
                   domain "$name" 0 0 0 ;;
        boundary) rectangle "$name" 1 1 "$(awk -v n="$n" 'BEGIN { printf "%.10g", 4 / n }')" \
                      "$(awk -v n="$n" 'BEGIN { printf "%.10g", 4 / n }')"
                  domain "$name" 0 0 0 ;;
        steiner) rectangle "$name" 1 1 0.05 0.05; domain "$name" 1 0 "$n" ;;
        background) rectangle "$name" 1 1 0.05 0.05; domain "$name" 1 "$n" 0 ;;
    esac
    echo "$name"
}

echo "| family | size | triangles | wall s | ratio per doubling | x linear |"
echo "|---|---:|---:|---:|---:|---:|"
for fam in "${families[@]}"; do
    prev=""
    for n in $base $((2 * base)) $((4 * base)); do
        name=$(make_problem "$fam" "$n")
        # Timed here to the millisecond: the small runs take a few hundredths.
        start=$EPOCHREALTIME
        bench_timed "$name" "$corvan_exe" <<< "$name"
        bench_wall=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }')
        read -r tri _ < <(bench_corvan_counts "$name")
        awk -v f="$fam" -v n="$n" -v t="$tri" -v w="$bench_wall" -v p="$prev" "$bench_awk_group"'
            BEGIN { r = "-"; x = "-"
                    if (p != "" && p > 0) { r = sprintf("%.2f", w / p); x = sprintf("%.2f", w / p / 2) }
                    printf "| %s | %s | %s | %.3f | %s | %s |\n", f, group(n), group(t), w, r, x }'
        prev=$bench_wall
    done
done
