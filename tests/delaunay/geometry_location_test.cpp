// Simplex geometry and point location.
#include <gtest/gtest.h>

#include "delaunay/kernel_check.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::make_point;

simplex* triangle(point* a, point* b, point* c) {
    simplex* s = new_simplex();
    s->opp = {{{a, nullptr}, {b, nullptr}, {c, nullptr}}};
    simplex_facets(2, s);
    return s;
}

// The grid checks use delaunay_measure themselves, so its scale is pinned
// here by hand: 0 at the circumcentre, 1 on the circle, 2 at sqrt 2 radii.
TEST(Geometry, UnitTriangleCentreAndMeasure) {
    point* c = make_point(0.0, 1.0);
    simplex* ccw = triangle(make_point(0.0, 0.0), make_point(1.0, 0.0), c);
    EXPECT_DOUBLE_EQ(simplex_det(2, ccw), 1.0);
    Vec<double, 3> q;
    double r2 = 0.0;
    simplex_center(2, ccw, q, r2);
    EXPECT_NEAR(q(1), 0.5, 1e-15);
    EXPECT_NEAR(q(2), 0.5, 1e-15);
    EXPECT_NEAR(r2, 0.5, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, make_point(0.5, 0.5), ccw), 0.0, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, c, ccw), 1.0, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, make_point(1.5, 0.5), ccw), 2.0, 1e-15);
}

TEST(Geometry, NearlyFlatTriangleWarnsAndStopsOnlyWhenTurnedOver) {
    point* a = make_point(0.0, 0.0);
    point* b = make_point(1.0, 0.0);
    simplex* up = triangle(a, b, make_point(0.5, 1e-13));
    simplex* down = triangle(a, b, make_point(0.5, -1e-13));
    testing::internal::CaptureStdout();
    delaunay_measure(2, a, up);
    Vec<double, 3> q;
    double r2 = 0.0;
    simplex_center(2, down, q, r2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "simplex_center warning, det =  0.10000E-12\nsimplex_center warning, det = -0.10000E-12\n");
    // The stops say where: the point, its edge, the triangle.
    a->edge = -4;
    EXPECT_STOP(delaunay_measure(2, a, down), "det = -0.10000E-12\n --STOP-- \\(delaunay_measure\\)\n"
                " inserting the point \\(0, 0\\) of edge 4: the triangle \\(0, 0\\), \\(1, 0\\), \\(0.5, -1e-13\\) is flat");
    simplex* flat = triangle(a, b, make_point(1.0, 0.0));
    EXPECT_STOP(simplex_center(2, flat, q, r2), "det =  0.00000E\\+00\n \\(stop\\)\n the triangle \\(0, 0\\), \\(1, 0\\), "
                "\\(1, 0\\) is flat; two of its corners coincide at \\(1, 0\\), where boundary edges touch");
}

// The walk from inside a grid ends at the far simplices around it for a
// point beyond them, and refuses to start from one.
TEST(Location, WalkStopsAtTheGridsEdge) {
    test::KernelGrid g = test::diamond();
    simplex* s = g.live->next;
    int mode = walk_avoid_far;
    walking_search(2, make_point(50.0, 50.0), s, mode);
    EXPECT_EQ(mode, walk_outside);
    EXPECT_EQ(s, nullptr);
    s = g.axs_head->next;
    mode = walk_avoid_far;
    EXPECT_STOP(walking_search(2, make_point(0.5, 0.5), s, mode), "research is compromised. STOP \\(walking_search\\)\n"
                " the walk toward the point \\(0.5, 0.5\\) starts from a simplex outside");
}

}  // namespace
}  // namespace corvan
