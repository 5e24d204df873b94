# shellcheck shell=bash disable=SC2034  # the variables set here are read by the scripts
# Sourced by the bench scripts (from the repository root): the optimised
# build, the unit-square problem, the timed run and the figures read back.

. scripts/deps.sh

# Builds corvan optimised in build-bench/ and sets corvan_exe.
bench_build_corvan() {
    corvan_install g++ cmake make libgtest-dev time
    cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench --target corvan -j"$(nproc)" >/dev/null
    corvan_exe=$(pwd)/build-bench/corvan
}

# bench_square_problem NAME H: writes boundary.NAME and domain.NAME in the
# current directory, the unit square with uniform spacing H.
bench_square_problem() {
    local name=$1 h=$2 e
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
    bench_uniform_domain "$name"
}

# bench_uniform_domain NAME: domain.NAME with no background or Steiner
# points (the spacing comes from the boundary), no step limit, no smoothing.
bench_uniform_domain() {
    printf 'uniform\n 1000000 2\n.\n.\n0\n.\n.\n.\n0\n.\n' > "domain.$1"
}

# bench_timed TAG CMD...: runs CMD with standard output to run.TAG.log and
# sets bench_wall (s) and bench_rss (KiB, peak resident set) for the whole
# process. Standard input is passed on. A failed run stops the script.
bench_timed() {
    local tag=$1
    shift
    if ! /usr/bin/time -f '%e %M' -o "time.$tag.log" "$@" > "run.$tag.log" 2> "err.$tag.log"; then
        echo "run $tag failed: $*; see $(pwd)/run.$tag.log and err.$tag.log" >&2
        tail -5 "run.$tag.log" "err.$tag.log" >&2
        exit 1
    fi
    read -r bench_wall bench_rss < <(tail -1 "time.$tag.log")
}

# bench_corvan_counts NAME: prints the triangle and boundary-segment counts
# of grid.NAME (its header line NE_D NE_B).
bench_corvan_counts() {
    sed -n 5p "grid.$1" | awk '{print $1, $2}'
}

# An awk function for the tables: group(1234567) is "1,234,567".
bench_awk_group='
    function group(v,   s) {
        s = sprintf("%.0f", v)
        while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
        return s
    }'
