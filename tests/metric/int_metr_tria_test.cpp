#include <gtest/gtest.h>

#include "metric/metric_2d.hpp"
#include "metric_test_util.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using namespace corvan::test;

Mat2 iso(double h) { return diag(1 / (h * h), 1 / (h * h)); }

point* at(double x, double y) {
    point* p = new_point();
    p->x = vec(x, y);
    return p;
}

// The triangle (0,0), (1,0), (0,1) with its barycentric rows written out,
// or the same points listed clockwise (vertices 2 and 3 swapped).
struct Triangle {
    simplex* s = new_simplex();
    point* v[4] = {nullptr, at(0, 0), at(1, 0), at(0, 1)};
    point* q = new_point();  // scratch
    explicit Triangle(bool clockwise = false) {
        if (clockwise) std::swap(v[2], v[3]);
        // b(vertex at (0,0)) = 1 - x - y, b(at (1,0)) = x, b(at (0,1)) = y.
        for (int k = 1; k <= 3; ++k) {
            s->opp(k).pnt = v[k];
            const Vec<double, 2> x = v[k]->x;
            const bool origin = x(1) == 0 && x(2) == 0;
            s->fct(k, 1) = origin ? -1 : x(1);
            s->fct(k, 2) = origin ? -1 : x(2);
            s->fct(k, 3) = origin ? 1 : 0;
        }
    }
    Mat2 at_point(double x, double y) {
        point* p = at(x, y);
        int_metr_tria(s, p, q);
        return p->mtr;
    }
};

TEST(IntMetrTria, OnAnEdgeOrAtAVertexOnlyThatEdgeEnters) {
    Triangle t;
    t.v[1]->mtr = metric(1, 0.5, 0.3);
    t.v[2]->mtr = metric(2, 0.25, 1.0);
    Mat2 expected;
    int_metr_seg2(t.v[1]->mtr, t.v[2]->mtr, expected, 0.3);
    for (double h3 : {0.01, 1.0, 100.0}) {
        t.v[3]->mtr = iso(h3);
        EXPECT_EQ(t.at_point(0.3, 0.0), expected) << "h3 = " << h3;
    }
    // Edge 2-3: from vertex 2 toward vertex 3, w read off y (as long in x as in y).
    t.v[1]->mtr = iso(1000);
    int_metr_seg2(t.v[2]->mtr, t.v[3]->mtr, expected, 0.75);
    EXPECT_EQ(t.at_point(0.25, 0.75), expected);

    t.v[3]->mtr = metric(0.1, 0.7, 2.0);
    for (int k = 1; k <= 3; ++k) {
        const Mat2& m = t.v[k]->mtr;
        expect_mat_near(t.at_point(t.v[k]->x(1), t.v[k]->x(2)), m, 1e-12 * (m(1, 1) + m(2, 2)));
    }
}

TEST(IntMetrTria, InteriorSizesFollowALinearField) {
    // Sizes 1 + x + 2y at the vertices: interpolating sizes along two
    // straight segments reproduces the linear field everywhere inside.
    Triangle t;
    t.v[1]->mtr = iso(1);
    t.v[2]->mtr = iso(2);
    t.v[3]->mtr = iso(3);
    const double pts[][2] = {{0.1, 0.8}, {0.6, 0.3}, {1.0 / 3, 1.0 / 3}, {0.25, 0.25}};
    for (const auto& xy : pts) expect_mat_near(t.at_point(xy[0], xy[1]), iso(1 + xy[0] + 2 * xy[1]), 1e-14);
    // The scratch point holds where the line from vertex 3 met edge 1-2.
    EXPECT_NEAR(t.q->x(1), 1.0 / 3, 1e-15);
    EXPECT_EQ(t.q->x(2), 0.0);
    expect_mat_near(t.q->mtr, iso(4.0 / 3), 1e-15);
}

TEST(IntMetrTriaDeathTest, ClockwiseTriangleStopsForAnInteriorPoint) {
    Triangle t(true);
    EXPECT_STOP(t.at_point(0.25, 0.25), "^ csi1 denominator is singular - STOP- \\(int_metr_tria\\)\n$");
    expect_mat_near(t.at_point(0.5, 0.0), Mat2::identity(), 1e-15);  // an edge point is fine
}

}  // namespace
}  // namespace corvan
