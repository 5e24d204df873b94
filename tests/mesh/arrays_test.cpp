#include <vector>

#include "mesh/arrays.hpp"
#include "support/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;
using V = std::vector<int>;

// All the integer arrays, flattened in a fixed order.
V flat(const ArraysState& a) {
    V v{a.np_d, a.ns_d, a.np_b, a.ns_b};
    for (const Array2<int>* m : {&a.jj, &a.neigh, &a.jjs_b, &a.jjs, &a.neighs_b})
        v.insert(v.end(), m->data(), m->data() + m->rows() * m->cols());
    for (const Array1<int>* m : {&a.neighs, &a.iflux, &a.idir, &a.jjdir})
        v.insert(v.end(), m->data(), m->data() + m->size());
    return v;
}

struct Built {
    SmallGrid s;
    Built() {
        build_small_grid(s);
        build_arrays(s.g);
    }
};

// The golden mesh files of the output tests show the domain arrays and the
// boundary arrays as saved (stale neighbour numbers cleared included); here,
// the boundary numbering as build_arrays leaves it.
TEST(BuildArrays, NumbersAndFillsTheSmallGrid) {
    Built t;
    const ArraysState& a = arrays;
    EXPECT_EQ((V{a.np_d, a.ns_d, a.np_b, a.ns_b}), (V{4, 2, 6, 4}));
    // Edge 2's nodes and elements come after all of edge 1's.
    EXPECT_EQ((V{t.s.b[2][1]->i, t.s.seg[2][1]->i}), (V{4, 3}));
    EXPECT_EQ((V{a.idir(4), a.jjdir(4), a.jjdir(6)}), (V{-2, 3, 1}));
    EXPECT_EQ((V{a.neighs(1), a.neighs(3), a.jjs_b(1, 3), a.jjs(2, 4)}), (V{1, 2, 4, 1}));

    const V first = flat(arrays);
    build_arrays(t.s.g);
    EXPECT_EQ(flat(arrays), first);
}

}  // namespace
}  // namespace corvan
