#include "boundary/boundary_2d.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "delaunay/delaunay.hpp"
#include "geometry/curves.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

struct XY {
    double x, y;
};

// Curve ic: the straight line a -> b through nk equally spaced knots (slopes
// along the line, so the spline is the line itself).
void set_line_curve(int ic, XY a, XY b, int nk) {
    curve& c = curv(ic);
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    c.nd = 2, c.ns = nk;
    c.s.assign(nk), c.x.assign(2, nk), c.xs.assign(2, nk);
    for (int i = 1; i <= nk; ++i) {
        const double f = (i - 1.0) / (nk - 1);
        c.s(i) = len * f;
        c.x(1, i) = a.x + f * (b.x - a.x), c.x(2, i) = a.y + f * (b.y - a.y);
        c.xs(1, i) = (b.x - a.x) / len, c.xs(2, i) = (b.y - a.y) / len;
    }
}

// Isotropic spacing data of an edge: h(k) at sdata(k), law(k) on the interval ending at k.
void set_spacing(edge_record& ed, const std::vector<double>& s, const std::vector<double>& h,
                 const std::vector<int>& law) {
    ed.ndata = static_cast<int>(s.size());
    ed.idata.assign(ed.ndata), ed.sdata.assign(ed.ndata), ed.hdata.assign(3, ed.ndata);
    for (int k = 1; k <= ed.ndata; ++k)
        ed.idata(k) = law[k - 1], ed.sdata(k) = s[k - 1], ed.hdata(1, k) = ed.hdata(2, k) = h[k - 1];
}

// A grid whose edge e runs straight from vertex edges[e].first to vertex
// edges[e].second on curve e (nk knots), with constant spacing h[e].
void make_polygon_grid(grid_record& g, const std::vector<XY>& verts, const std::vector<std::pair<int, int>>& edges,
                       const std::vector<double>& h, int nk = 3) {
    g.new_heads();
    g.n_vert = static_cast<int>(verts.size());
    g.n_edge = n_curv = static_cast<int>(edges.size());
    g.edge.assign(g.n_edge);
    curv.assign(n_curv);
    for (int e = 1; e <= g.n_edge; ++e) {
        const auto [vb, ve] = edges[e - 1];
        set_line_curve(e, verts[vb - 1], verts[ve - 1], nk);
        edge_record& ed = g.edge(e);
        ed.new_heads();
        ed.icurv = e, ed.vbeg = vb, ed.vend = ve;
        set_spacing(ed, {0.0, 1.0}, {h[e - 1], h[e - 1]}, {1, 1});
    }
}

std::vector<double> params_of(point* head) {
    std::vector<double> q;
    for (point* p = head->next; p != head; p = p->next) q.push_back(p->x(1));
    return q;
}

// Points of points_1d for a curve of knots s whose metric length runs as L.
std::vector<double> points_for(const std::vector<double>& s, const std::vector<double>& L) {
    Array1<double> sa(static_cast<int>(s.size())), la(sa.size());
    for (int i = 1; i <= sa.size(); ++i) sa(i) = s[i - 1], la(i) = L[i - 1];
    point* head = newhead_point();
    points_1d(head, sa, la);
    return params_of(head);
}

// --- point distribution ---------------------------------------------------

TEST(PointsByMetricLength, StepsAreAtMostOneMetricUnit) {
    EXPECT_EQ(points_for({0, 1}, {0, 3.0}), (std::vector<double>{0, 1.0 / 3, 2.0 / 3, 1}));
    EXPECT_EQ(points_for({0, 1}, {0, 3.2}).size(), 5u);
    // Below one unit there is still one segment, and for a zero length too.
    EXPECT_EQ(points_for({0, 1}, {0, 0.4}), (std::vector<double>{0, 1}));
    EXPECT_EQ(points_for({0, 1}, {0, 0}), (std::vector<double>{0, 1}));
    // Length 1 over the first half of the parameter, 3 over the second: the
    // four steps put one point in the first half and two in the second.
    const std::vector<double> q = points_for({0, 5, 10}, {0, 1, 4});
    ASSERT_EQ(q.size(), 5u);
    EXPECT_DOUBLE_EQ(q[1], 0.5);
    EXPECT_DOUBLE_EQ(q[2], (5 + 5.0 / 3) / 10);
    EXPECT_DOUBLE_EQ(q[3], (5 + 10.0 / 3) / 10);
}

TEST(MetricLength, SpacingLawsBetweenDataPointsOnTheEdgesOwnCurve) {
    // Knots 0, 1, 2: the middle knot sits at the middle of the one data
    // interval, from h = 1 to h = 4. L(2) = (1/h(1) + 1/h(2)) / 2 reveals h(2).
    auto mid_spacing = [](int law) {
        grid_record g;
        make_polygon_grid(g, {{0, 0}, {2, 0}}, {{1, 2}}, {1});
        set_spacing(g.edge(1), {0, 1}, {1, 4}, {1, law});
        metric_r_1d(1, g, boundary.len);
        return 1.0 / (2.0 * boundary.len(2) - 1.0);
    };
    EXPECT_NEAR(mid_spacing(1), 2.5, 1e-12);
    EXPECT_NEAR(mid_spacing(2), 2.0, 1e-12);  // geometric mean
    EXPECT_NEAR(mid_spacing(3), 2.5, 1e-6);   // mean, with the single-precision pi
    // Edge 1 lies on curve 2 (length 20); curve 1 is only 4 long.
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {4, 0}, {20, 0}}, {{1, 2}, {1, 3}}, {1, 1});
    g.edge(1).icurv = 2;
    metric_r_1d(1, g, boundary.len);
    EXPECT_EQ(boundary.len(3), 20.0);
}

// Stops that spacing data the problem input accepts can still reach.
TEST(MetricLength, UnusableSpacingDataStopsNamingTheEdge) {
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {10, 0}, {10, 10}}, {{1, 2}, {2, 3}}, {1, 1});
    // A spacing so small that the edge would need 1e10 points.
    set_spacing(g.edge(2), {0, 1}, {1e-9, 1e-9}, {1, 1});
    EXPECT_STOP(metric_r_1d(2, g, boundary.len), "Edge 2: its metric length .* would need more than 10000000 points");
    // Spacing extrapolated before the first data point turns negative.
    set_spacing(g.edge(2), {0.6, 1}, {1, 10}, {1, 1});
    EXPECT_STOP(metric_r_1d(2, g, boundary.len), "Edge 2: the spacing .* at knot 2 of its curve");
}

// One record per edge; the points' marks and twins make the boundary node
// records that the golden mesh files pin.
TEST(BoundaryPoints, OneRecordPerEdge) {
    // A triangle: edge 2 gets 25 points (length 24, h = 1); the others 4.
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {0, 3}, {24, 3}}, {{1, 2}, {2, 3}, {3, 1}}, {1, 1, 10});
    testing::internal::CaptureStdout();
    bou_r_points(g);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " Warning: n majored to obtain l<1\n"
              " Segment  1; points =    4\n"
              " Segment  2; points =   25\n"
              " Segment  3; points =    4\n");
    EXPECT_EQ(g.vert(1)->edge, -3);  // the last edge that sets a vertex wins
}

// --- whole boundary grid ------------------------------------------------------

std::set<simplex*> members(simplex* head) {
    std::set<simplex*> s;
    for (simplex* t = head->next; t != head; t = t->next) s.insert(t);
    return s;
}

// The state a finished boundary grid must be in; returns the area of the
// internal triangles.
double expect_conforming(grid_record& g) {
    const std::set<simplex*> in = members(g.int_head), ex = members(g.ext_head);
    EXPECT_TRUE(empty_list(g.add_head) && empty_list(g.spx_head));
    double area = 0.0;
    for (simplex* t : in) {
        EXPECT_EQ(t->status, st_internal);
        EXPECT_GT(simplex_det(2, t), 0.0);
        area += simplex_det(2, t) / 2.0;
    }
    for (simplex* t : ex) EXPECT_EQ(t->status, st_external);
    // Every boundary segment is a side of its internal and its external triangle.
    for (int e = 1; e <= g.n_edge; ++e) {
        edge_record& ed = g.edge(e);
        EXPECT_TRUE(empty_list(ed.add_head) && empty_list(ed.stc_head) && empty_list(ed.spx_head));
        for (simplex* sg = ed.int_head->next; sg != ed.int_head; sg = sg->next) {
            if (!in.count(sg->int_spx()) || !ex.count(sg->ext_spx())) {
                ADD_FAILURE() << "edge " << e << ": a segment is not classified";
                continue;
            }
            for (const simplex* t : {sg->int_spx(), sg->ext_spx()}) {
                int shared = 0;
                for (int k = 1; k <= 3; ++k)
                    shared += t->opp(k).pnt == sg->opp(1).pnt->ppp || t->opp(k).pnt == sg->opp(2).pnt->ppp;
                EXPECT_EQ(shared, 2) << "edge " << e;
            }
        }
    }
    return area;
}

TEST(BoundaryGrid, HoleNearTheOuterSideIsStitched) {
    // A 4 x 4 square, finely spaced, with a coarse 1 x 1 hole 0.1 from its
    // left side: the hole's left segment is no Delaunay edge until halved.
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {0, 4}, {4, 4}, {4, 0}, {0.1, 1.5}, {1.1, 1.5}, {1.1, 2.5}, {0.1, 2.5}},
                      {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}},
                      {0.25, 0.25, 0.25, 0.25, 1, 1, 1, 1});
    delaunay_setup();
    reset_walk_random();
    testing::internal::CaptureStdout();
    boundary_grid(g);
    const std::string out = testing::internal::GetCapturedStdout();
    // One pass halves the one segment; the next finds none.
    EXPECT_NE(out.find("\n Stitch points   =            1\n"), std::string::npos) << out;
    EXPECT_EQ(out.find(" Stitch points", out.find(" Stitch points") + 1), std::string::npos) << out;
    EXPECT_NEAR(expect_conforming(g), 15.0, 1e-12);
    // The hole's left side was halved: its first midpoint is at parameter 0.5.
    const std::vector<double> left = params_of(g.edge(8).pnt_head);
    EXPECT_NE(std::find(left.begin(), left.end(), 0.5), left.end());
}

TEST(BoundaryGrid, stitching_loop_stops_on_crossing_edges) {
    // A bow tie: edges 1 and 3 cross, so no halving can ever make both of
    // them domain edges. The run must end with a stop instead of halving
    // forever: the stitching bound, or the kernel's refusal of the
    // degenerate triangles that crowd the crossing, whichever comes first.
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {2, 1.77}, {2.1, 0}, {0, 1.3}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}, {1, 1, 0.8, 1});
    EXPECT_STOP((delaunay_setup(), boundary_grid(g)),
                "probably cross or touch each other\\.\n --STOP-- \\(stitch_boundary\\)|--STOP-- \\(delaunay_measure\\)");
}

TEST(Stitching, TooShortSegmentStopsNamingTheEdge) {
    grid_record g;
    make_polygon_grid(g, {{0, 0}, {0, 8}, {8, 8}}, {{1, 2}, {2, 3}}, {1, 1});
    // A queued segment of edge 2 ten orders of magnitude below the edge's
    // parameter range: no more halving.
    simplex* sg = new_simplex();
    for (int k = 1; k <= 2; ++k) {
        point* v = sg->opp(k).pnt = new_point();
        v->x(1) = k == 1 ? 0.5 : 0.5 + 5e-10, v->edge = 2, v->ppp = new_point();
    }
    pushbot_simplex(g.edge(2).stc_head, sg);
    int count = 0;
    EXPECT_STOP(stitch_boundary(g, count),
                "Boundary segment of edge 2 from curve parameter 5\\.0+E-01 to 5\\.000000005[0-9]*E-01\n"
                " cannot be halved any further: the boundary edges probably cross");
}

}  // namespace
}  // namespace corvan
