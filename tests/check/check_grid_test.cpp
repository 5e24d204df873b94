#include <array>
#include <string>

#include "check/check_grid.hpp"
#include "geometry/curves.hpp"
#include "io/text_io.hpp"
#include "support/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::output_of;
using test::SmallGrid;

// Expected text is built with the message-record convention itself.
std::string rec(std::initializer_list<FmtArg> items) { return ld_record(items) + "\n"; }
const std::string blank = rec({});
std::string escaped(const std::string& s) {
    std::string out;
    for (const char c : s) {
        if (c == '*') out += '\\';
        out += c;
    }
    return out;
}

// A curve table of straight curves (x1, y1, x2, y2), and edges on curves
// icurv1 (from vertex 3 to 1) and icurv2 (back from 1 to 3); with one curve
// named, a single closed edge.
grid_record edges(std::initializer_list<std::array<double, 4>> ends, int icurv1 = 1, int icurv2 = 2) {
    n_curv = static_cast<int>(ends.size());
    curv.assign(n_curv);
    int ic = 0;
    for (const auto& e : ends) {
        curve& c = curv(++ic);
        c.nd = c.ns = 2;
        c.x.assign(2, 2, 0.0);
        std::copy(e.begin(), e.end(), c.x.data());
    }
    grid_record g;
    g.n_edge = icurv2 == 0 ? 1 : 2;
    g.edge.assign(g.n_edge);
    const int icurv[2] = {icurv1, icurv2}, vbeg[2] = {g.n_edge == 1 ? 1 : 3, 1}, vend[2] = {1, 3};
    for (int e = 1; e <= g.n_edge; ++e) {
        g.edge(e).icurv = icurv[e - 1];
        g.edge(e).vbeg = vbeg[e - 1];
        g.edge(e).vend = vend[e - 1];
    }
    return g;
}

TEST(CheckInBoundary, JoinsPassWithinTheToleranceAndStopBeyondIt) {
    const std::string checked = rec({"Boundary data checked."});
    const std::string problem_1_2 = "^" + blank + escaped(rec({"*** Problems with boundary", 1, "and boundary", 2}));
    EXPECT_EQ(output_of([] { check_in_boundary(edges({{1, 0, 0, 0}, {0, 0, 1, 1e-13}})); }), checked);
    EXPECT_STOP(check_in_boundary(edges({{1, 0, 0, 0}, {0, 0, 1, 1e-11}})),
                problem_1_2 + rec({"Begin & end vertex not consistent"}) + "$");
    EXPECT_STOP(check_in_boundary(edges({{1, 0, 0, 0}, {-1e-11, 0, 1, 0}})),
                problem_1_2 + rec({"End vertex & begin not consistent"}) + "$");
    // A closed edge must close.
    EXPECT_EQ(output_of([] { check_in_boundary(edges({{0, 0, 0, 1e-13}}, 1, 0)); }), checked);
    EXPECT_STOP(check_in_boundary(edges({{0, 0, 0, 1e-11}}, 1, 0)),
                "^" + blank + escaped(rec({"*** Problems with self-closing boundary", 1})) +
                    rec({"Different begin & end vertex"}) + "$");
    // An edge's curve is the one its icurv names, whatever the edge's position.
    EXPECT_EQ(output_of([] { check_in_boundary(edges({{0, 0, 1, 0}, {1, 0, 0, 0}}, 2, 1)); }), checked);
    EXPECT_STOP(check_in_boundary(edges({{0, 0, 1, 0}, {1, 0, 0, 0}}, 3, 1)), rec({"No points on curve", 3}) + "$");
}

// The small grid numbered as build_arrays does: external triangles 0.
struct Numbered : SmallGrid {
    Numbered() {
        build_small_grid(*this);
        T[1]->i = 1;
        T[2]->i = 2;
        for (int k = 1; k <= 4; ++k) E[k]->i = 0;
        for (int k = 1; k <= 4; ++k) seg[(k + 1) / 2][2 - k % 2]->i = k;
    }
    std::string report() {
        return output_of([&] { check_consistency(g); });
    }
};

const std::string checking = blank + rec({"Grid data checking..."});

// A grid that failed its checks was once saved and the run ended with
// status 0.
TEST(CheckConsistency, FaultsAreAllReportedAndThenStopTheRun) {
    Numbered s;
    EXPECT_EQ(s.report(), checking + blank);
    s.T[1]->cmat(2, 1) = 2;  // T1's vertex 1 (P1) is vertex 1 of T2, not vertex 2 (P3)
    EXPECT_STOP(check_consistency(s.g), "^" + checking + blank + rec({"cmat extradiagonal fault"}) +
                                            rec({"tolerance", 1e-12}) + blank +
                                            escaped(rec({"*** The grid fails", 1, "of its consistency checks: no mesh is written."})) + "$");
    EXPECT_EQ(count_consistency_problems(s.g).total(), 1);

    Numbered b;
    b.T[2]->opp(3).spx = b.E[1];  // T2 no longer looks back at T1
    EXPECT_GE(count_consistency_problems(b.g).blind, 1);
    Numbered d;
    d.T[1]->cmat(2, 2) = 7;  // no such vertex: a fault, not an index to follow
    EXPECT_EQ(count_consistency_problems(d.g).cmat_diag, 1);
    EXPECT_EQ(count_consistency_problems(d.g).total(), 1);
    Numbered n;
    n.E[1]->i = 5;
    n.E[2]->i = 6;
    EXPECT_EQ(count_consistency_problems(n.g).neighs, 2);  // both segments of T1
}

TEST(CheckConsistency, VerticesAreComparedByPosition) {
    Numbered s;
    s.T[2]->opp(1).pnt = test::make_point(s.g.pnt_head, 0.0, 0.0);  // a second record at P1
    EXPECT_EQ(count_consistency_problems(s.g).total(), 0);
    // Moved off by more than the tolerance, it disagrees with T1's view of
    // T2, and T2's views of T1 and E4.
    s.T[2]->opp(1).pnt->x(1) = 2e-12;
    EXPECT_EQ(count_consistency_problems(s.g).cmat_extra, 3);
}

TEST(CheckConsistency, ListThatNeverReturnsToItsHeadStops) {
    Numbered s;
    s.T[2]->next = s.T[1];
    const std::string limit = std::to_string(simplices_made());
    EXPECT_STOP(check_consistency(s.g), "spx_loop/check_consistency failure \\(max_loop = *" + limit + " ?\\)\n$");
    Numbered u;
    u.seg[2][2]->next = u.seg[2][1];
    EXPECT_STOP(check_consistency(u.g), "id_spx_loop/check_consistency loop failure \\(max_loop = *[0-9]+ ?\\)\n$");
}

// Undefined simplices in every list, an invalid status in the external
// list, and in the auxiliary list a far, an undefined and a marked simplex.
struct Unsettled : SmallGrid {
    Unsettled() {
        build_small_grid(*this);
        T[1]->status = E[1]->status = st_undefined;
        E[2]->status = 7;
        test::make_simplex(g.axs_head, st_undefined, A[1], A[2], A[4]);
        test::make_simplex(g.axs_head, -st_external, A[2], A[3], A[4]);
    }
    std::string counts(int level) {
        return output_of([&] { contability(g, level); });
    }
};

std::string block(const char* heading, int in, int undef, int ext, int unknown) {
    return rec({heading}) + rec({"internal", in}) + rec({"undefined", undef}) + rec({"external", ext}) +
           rec({"stitch", 0}) + rec({"unknown", unknown}) + blank;
}

TEST(Contability, LevelsPrintMoreAndEveryLevelRepairs) {
    const std::string details = rec({"Grid details:"}) + rec({"int_head", 2}) + rec({"ext_head", 4}) +
                                rec({"axs_head", 3}) + rec({"stc_head", 0}) + rec({"spx_head", 0});
    Unsettled s;
    EXPECT_EQ(s.counts(0), "");
    EXPECT_EQ((std::array<int, 5>{s.T[1]->status, s.E[1]->status, s.g.axs_head->prev->prev->status, s.E[2]->status, s.F->status}),
              (std::array<int, 5>{st_internal, st_external, st_external, 7, st_far}));
    EXPECT_EQ(s.counts(1), details);
    Unsettled u;
    EXPECT_EQ(u.counts(2), block("INTERNAL LIST flags", 1, 1, 0, 0) + block("EXTERNAL LIST flags", 0, 1, 2, 1) +
                               block("AUXILIARY LIST flags", 0, 1, 0, 1) + details);
}

}  // namespace
}  // namespace corvan
