#include <array>
#include <string>

#include "check/check_grid.hpp"
#include "geometry/curves.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"
#include "output/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

// ---------------------------------------------------------------------------
// Boundary joins

// A curve table of straight curves from a to b.
void set_curves(std::initializer_list<std::array<double, 4>> ends) {
    n_curv = static_cast<int>(ends.size());
    curv.assign(n_curv);
    int ic = 0;
    for (const auto& e : ends) {
        curve& c = curv(++ic);
        c.nd = 2;
        c.ns = 2;
        c.x.assign(2, 2, 0.0);
        c.x(1, 1) = e[0];
        c.x(2, 1) = e[1];
        c.x(1, 2) = e[2];
        c.x(2, 2) = e[3];
    }
}

grid_record two_edges(int icurv1, int icurv2) {
    grid_record g;
    g.n_edge = 2;
    g.edge.assign(2);
    // Edge 1 runs from vertex 3 to vertex 1, edge 2 from vertex 1 back to 3.
    g.edge(1).vbeg = 3;
    g.edge(1).vend = 1;
    g.edge(1).icurv = icurv1;
    g.edge(2).vbeg = 1;
    g.edge(2).vend = 3;
    g.edge(2).icurv = icurv2;
    return g;
}

std::string check_in_boundary_output(const grid_record& g) {
    testing::internal::CaptureStdout();
    check_in_boundary(g);
    return testing::internal::GetCapturedStdout();
}

TEST(CheckInBoundary, JoinsWithinTheTolerancePass) {
    set_curves({{1, 0, 0, 0}, {0, 0, 1, 1e-13}});
    EXPECT_EQ(check_in_boundary_output(two_edges(1, 2)), " Boundary data checked.\n");
}

TEST(CheckInBoundary, BeginNotMeetingThePreviousEndStops) {
    set_curves({{1, 0, 0, 0}, {0, 0, 1, 1e-11}});
    EXPECT_STOP(check_in_boundary(two_edges(1, 2)),
                "^\n \\*\\*\\* Problems with boundary           1 and boundary           2\n"
                " Begin & end vertex not consistent\n$");
}

TEST(CheckInBoundary, EndNotMeetingTheNextBeginStops) {
    set_curves({{1, 0, 0, 0}, {-1e-11, 0, 1, 0}});
    EXPECT_STOP(check_in_boundary(two_edges(1, 2)),
                "^\n \\*\\*\\* Problems with boundary           1 and boundary           2\n"
                " End vertex & begin not consistent\n$");
}

TEST(CheckInBoundary, ClosedEdgeThatDoesNotCloseStops) {
    set_curves({{0, 0, 0, 1e-11}});
    grid_record g;
    g.n_edge = 1;
    g.edge.assign(1);
    g.edge(1).vbeg = g.edge(1).vend = 1;
    g.edge(1).icurv = 1;
    EXPECT_STOP(check_in_boundary(g), "^\n \\*\\*\\* Problems with self-closing boundary           1\n"
                                      " Different begin & end vertex\n$");
    set_curves({{0, 0, 0, 1e-13}});
    EXPECT_EQ(check_in_boundary_output(g), " Boundary data checked.\n");
}

// An edge's curve is the one its icurv names, whatever the edge's position.
TEST(CheckInBoundary, EdgeCurveIsFoundThroughIcurv) {
    set_curves({{0, 0, 1, 0}, {1, 0, 0, 0}});
    EXPECT_EQ(check_in_boundary_output(two_edges(2, 1)), " Boundary data checked.\n");
    EXPECT_STOP(check_in_boundary(two_edges(3, 1)), "Problems with boundary           1\n No points on curve           3\n");
}

// ---------------------------------------------------------------------------
// Consistency

// The numbering build_arrays gives the small grid: internal triangles and
// segments from 1, external triangles 0.
void number(SmallGrid& s) {
    s.T[1]->i = 1;
    s.T[2]->i = 2;
    for (int k = 1; k <= 4; ++k) s.E[k]->i = 0;
    s.seg[1][1]->i = 1;
    s.seg[1][2]->i = 2;
    s.seg[2][1]->i = 3;
    s.seg[2][2]->i = 4;
}

std::string consistency_output(grid_record& g) {
    testing::internal::CaptureStdout();
    check_consistency(g);
    return testing::internal::GetCapturedStdout();
}

const char* const checking = "\n Grid data checking...\n";

TEST(CheckConsistency, SoundGridReportsNothing) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    EXPECT_EQ(consistency_output(s.g), std::string(checking) + "\n");
    EXPECT_EQ(count_consistency_problems(s.g).total(), 0);
}

TEST(CheckConsistency, WrongExtradiagonalCmatIsReportedAndTheRunGoesOn) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    s.T[1]->cmat(2, 1) = 2;  // T1's vertex 1 (P1) is vertex 1 of T2, not vertex 2 (P3)
    EXPECT_EQ(consistency_output(s.g),
              std::string(checking) + "\n cmat extradiagonal fault\n" + ld_record({"tolerance", 1e-12}) + "\n\n");
    const consistency_problems p = count_consistency_problems(s.g);
    EXPECT_EQ(p.cmat_extra, 1);
    EXPECT_EQ(p.total(), 1);
}

TEST(CheckConsistency, VerticesAreComparedByPosition) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    point* twin = test::make_point(s.g.pnt_head, 0.0, 0.0);  // a second record at P1
    s.T[2]->opp(1).pnt = twin;
    EXPECT_EQ(count_consistency_problems(s.g).total(), 0);
    // Moved off by more than the tolerance, it disagrees with T1, T2's own
    // neighbour E4 and T1's view of T2.
    twin->x(1) = 2e-12;
    EXPECT_EQ(count_consistency_problems(s.g).cmat_extra, 3);
}

TEST(CheckConsistency, BrokenNeighbourLinksAreReported) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    s.T[2]->opp(3).spx = s.E[1];  // T2 no longer looks back at T1
    consistency_problems p = count_consistency_problems(s.g);
    EXPECT_GE(p.blind, 1);
    EXPECT_GE(p.cmat_diag, 1);
    EXPECT_EQ(consistency_output(s.g).find("\n blind neighbour\n"), std::string(checking).size());

    build_small_grid(s);
    number(s);
    s.T[1]->cmat(2, 2) = 7;  // no such vertex: a fault, not an index to follow
    p = count_consistency_problems(s.g);
    EXPECT_EQ(p.cmat_diag, 1);
    EXPECT_EQ(p.blind, 0);
    EXPECT_NE(consistency_output(s.g).find("\n cmat diagonal fault\n"), std::string::npos);
}

TEST(CheckConsistency, InternalTriangleWithoutUnnumberedNeighbourIsReported) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    s.E[1]->i = 5;
    s.E[2]->i = 6;
    const std::string block = std::string("\n neighs fault\n Internal found, not pointing to 0\n") +
                              " Boundary simplex:           1\n" + ld_record({0.0, 0.0}) + "\n" +
                              ld_record({1.0, 0.0}) + "\n" + " Corresponding domain simplex:           1\n" +
                              " neigh           6           2           5\n" + ld_record({0.0, 0.0}) + "\n" +
                              ld_record({1.0, 0.0}) + "\n" + ld_record({1.0, 1.0}) + "\n";
    const std::string out = consistency_output(s.g);
    EXPECT_EQ(out.substr(0, std::string(checking).size() + block.size()), checking + block);
    EXPECT_EQ(count_consistency_problems(s.g).neighs, 2);  // both segments of T1
}

TEST(CheckConsistency, ListThatNeverReturnsToItsHeadStops) {
    SmallGrid s;
    build_small_grid(s);
    number(s);
    s.T[2]->next = s.T[1];
    const std::string limit = std::to_string(simplices_made());
    EXPECT_STOP(check_consistency(s.g), "spx_loop/check_consistency failure \\(max_loop = *" + limit + " \\)\n$");

    build_small_grid(s);
    number(s);
    s.seg[2][2]->next = s.seg[2][1];
    EXPECT_STOP(check_consistency(s.g), "id_spx_loop/check_consistency loop failure \\(max_loop = *[0-9]+ \\)\n$");
}

// ---------------------------------------------------------------------------
// Status counts

std::string contability_output(grid_record& g, int level) {
    testing::internal::CaptureStdout();
    contability(g, level);
    return testing::internal::GetCapturedStdout();
}

// Undefined simplices in every list, an invalid status in the external
// list, and in the auxiliary list a far, an undefined and a marked simplex.
void unsettle(SmallGrid& s) {
    s.T[1]->status = st_undefined;
    s.E[1]->status = st_undefined;
    s.E[2]->status = 7;
    test::make_simplex(s.g.axs_head, st_undefined, s.A[1], s.A[2], s.A[4]);
    test::make_simplex(s.g.axs_head, -st_external, s.A[2], s.A[3], s.A[4]);
}

const char* const details =
    " Grid details:\n int_head           2\n ext_head           4\n axs_head           3\n"
    " stc_head           0\n spx_head           0\n";

TEST(Contability, LevelZeroRepairsSilently) {
    SmallGrid s;
    build_small_grid(s);
    unsettle(s);
    EXPECT_EQ(contability_output(s.g, 0), "");
    EXPECT_EQ(s.T[1]->status, st_internal);
    EXPECT_EQ(s.E[1]->status, st_external);
    EXPECT_EQ(s.g.axs_head->prev->prev->status, st_external);
    EXPECT_EQ(s.E[2]->status, 7);
    EXPECT_EQ(s.F->status, st_far);
}

TEST(Contability, LevelOnePrintsTheListSizes) {
    SmallGrid s;
    build_small_grid(s);
    unsettle(s);
    EXPECT_EQ(contability_output(s.g, 1), details);
}

TEST(Contability, LevelTwoPrintsTheStatusBlocksFirst) {
    SmallGrid s;
    build_small_grid(s);
    unsettle(s);
    const std::string want = std::string(" INTERNAL LIST flags\n") +
                             " internal           1\n undefined           1\n external           0\n"
                             " stitch           0\n unknown           0\n\n"
                             " EXTERNAL LIST flags\n"
                             " internal           0\n undefined           1\n external           2\n"
                             " stitch           0\n unknown           1\n\n"
                             " AUXILIARY LIST flags\n"
                             " internal           0\n undefined           1\n external           0\n"
                             " stitch           0\n unknown           1\n\n" +
                             details;
    EXPECT_EQ(contability_output(s.g, 2), want);
    // Settled statuses count as such the next time.
    EXPECT_NE(contability_output(s.g, 2).find(" INTERNAL LIST flags\n internal           2\n undefined           0\n"),
              std::string::npos);
}

}  // namespace
}  // namespace corvan
