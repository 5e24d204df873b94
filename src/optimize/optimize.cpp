#include "optimize/optimize.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "io/text_io.hpp"
#include "optimize/grid_link.hpp"
#include "optimize/operators.hpp"
#include "quality/measures.hpp"

namespace corvan {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A triangle whose smallest angle is below this is repaired (degrees).
constexpr double kRepairAngle = 30.0;
// Stars with an angle below this are smoothed for their worst angle.
constexpr double kSmoothAngle = 40.0;
// Stars with a radius ratio below this are smoothed for their mean ratio,
// never letting an angle fall below kRepairAngle.
constexpr double kSmoothRatio = 0.98;
// Rounds of smoothing and repair; each stops early when it changes nothing.
constexpr int kRounds = 4;
// Rounds of valence flips and shape sweeps at most.
constexpr int kShapeRounds = 12;
// A short side (length over target spacing) is collapsed; a circumcentre
// closer than kNearShare of the spacing to a node is not inserted.
constexpr double kShortSide = 0.7;
constexpr double kNearShare = 0.5;

double sin_deg(double d) { return std::sin(d * kPi / 180.0); }

QuickShape shape_of(const TriMesh& m, int t) { return quick_shape(m.xy(t, 1), m.xy(t, 2), m.xy(t, 3)); }

double worst_angle(const TriMesh& m) {
    double w = 1.0;
    for (int t = 1; t <= m.tri.size(); ++t)
        if (m.tri(t).alive) w = std::min(w, shape_of(m, t).sin_min);
    return std::asin(w) * 180.0 / kPi;
}

bool touches_corner(const TriMesh& m, int t) {
    for (int k = 1; k <= 3; ++k)
        if (m.node(m.tri(t).v(k)).corner) return true;
    return false;
}

// Nodes whose star changed since they were last tried, one flag per goal:
// a sweep tries only these, so later sweeps cost what changed, not the grid.
struct Dirty {
    std::vector<char> angle, ratio;
    void resize(const TriMesh& m) {
        angle.resize(static_cast<std::size_t>(m.node.size()) + 1, 1);
        ratio.resize(static_cast<std::size_t>(m.node.size()) + 1, 1);
    }
    void mark(int p) { angle[static_cast<std::size_t>(p)] = ratio[static_cast<std::size_t>(p)] = 1; }
    void mark_triangles(const TriMesh& m, const std::vector<int>& tris) {
        for (int t : tris)
            if (m.tri(t).alive)
                for (int k = 1; k <= 3; ++k) mark(m.tri(t).v(k));
    }
};

// Tries every dirty free node whose star has a triangle below the triggers;
// after each move the Delaunay property is restored around the node (when
// reflip) and the nodes around it become dirty.
void smooth_sweep(TriMesh& m, MoveGoal goal, double trigger_sin, double trigger_rr, OpScratch& s,
                  OptimizeCounts& c, Dirty& dirty, bool reflip) {
    std::vector<char>& mine = goal == MoveGoal::worst_angle ? dirty.angle : dirty.ratio;
    dirty.resize(m);
    std::vector<int> seeds;
    for (int p = 1; p <= m.node.size(); ++p) {
        if (!mine[static_cast<std::size_t>(p)]) continue;
        mine[static_cast<std::size_t>(p)] = 0;
        if (!m.node(p).alive || m.node(p).fixed || !m.star(p, s.star)) continue;
        bool wanted = false;
        for (int t : s.star) {
            const QuickShape q = shape_of(m, t);
            if (q.sin_min < trigger_sin || q.radius_ratio < trigger_rr) wanted = true;
        }
        if (!wanted || !improve_node(m, p, goal, sin_deg(kRepairAngle), s)) continue;
        ++c.moves;
        m.star(p, s.star);
        seeds = s.star;
        dirty.mark_triangles(m, seeds);
        if (!reflip) continue;
        c.flips += restore_delaunay(m, seeds, s);
        dirty.mark_triangles(m, s.touched);
    }
}

Vec<double, 2> circumcentre(const TriMesh& m, int t) {
    const Vec<double, 2>&a = m.xy(t, 1), &b = m.xy(t, 2), &cc = m.xy(t, 3);
    const double bx = b(1) - a(1), by = b(2) - a(2), cx = cc(1) - a(1), cy = cc(2) - a(2);
    const double d = 2.0 * (bx * cy - by * cx);
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    Vec<double, 2> o;
    o(1) = a(1) + (cy * b2 - by * c2) / d;
    o(2) = a(2) + (bx * c2 - cx * b2) / d;
    return o;
}

// One repair of every poorly shaped triangle away from the corners: a short
// side is collapsed, otherwise a node goes to the circumcentre when that
// keeps the spacing. Returns the number of changes.
int repair_pass(TriMesh& m, OpScratch& s, OptimizeCounts& c, int max_insertions) {
    int changes = 0;
    const double bad = sin_deg(kRepairAngle);
    const int count = m.tri.size();
    for (int t = 1; t <= count; ++t) {
        if (!m.tri(t).alive || shape_of(m, t).sin_min >= bad || touches_corner(m, t)) continue;
        int k = 1;
        for (int j = 2; j <= 3; ++j)
            if (m.side_length(t, j) < m.side_length(t, k)) k = j;
        if (m.side_length(t, k) < kShortSide * m.side_spacing(t, k)) {
            if (const int q = collapse_side(m, t, k, s)) {
                ++c.collapses;
                ++changes;
                if (improve_node(m, q, MoveGoal::worst_angle, bad, s)) ++c.moves;
                continue;
            }
        }
        if (c.insertions >= max_insertions) continue;
        const Vec<double, 2> o = circumcentre(m, t);
        const int at = locate(m, t, o);
        if (at == 0) continue;
        double h = 0.0, near = 1e300;
        for (int j = 1; j <= 3; ++j) {
            const OptNode& n = m.node(m.tri(at).v(j));
            h += n.h / 3.0;
            near = std::min(near, std::hypot(n.x(1) - o(1), n.x(2) - o(2)));
        }
        if (near < kNearShare * h) continue;
        const int n = insert_node(m, at, o, s);
        if (n == 0) continue;
        ++c.insertions;
        ++changes;
        if (improve_node(m, n, MoveGoal::worst_angle, bad, s)) ++c.moves;
    }
    return changes;
}

// Flips inner sides where that brings the number of triangles around the
// four nodes involved nearer their ideal (six inside; at a boundary node the
// angle the domain has there over 60 degrees) while the two triangles' worst
// angle stays at or above the smaller of kRepairAngle and its value before.
// Smoothing then has better stars to work on. Returns the number of flips.
int valence_pass(TriMesh& m, std::vector<int>& valence, std::vector<int>& ideal, Dirty& dirty) {
    valence.assign(static_cast<std::size_t>(m.node.size()) + 1, 0);
    std::vector<double> angle(static_cast<std::size_t>(m.node.size()) + 1, 0.0);
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        for (int k = 1; k <= 3; ++k) {
            const std::size_t p = static_cast<std::size_t>(m.tri(t).v(k));
            ++valence[p];
            if (!m.node(m.tri(t).v(k)).fixed) continue;
            const Vec<double, 2>&a = m.xy(t, k), &b = m.xy(t, next3(k)), &c = m.xy(t, prev3(k));
            const double ux = b(1) - a(1), uy = b(2) - a(2), vx = c(1) - a(1), vy = c(2) - a(2);
            angle[p] += std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
        }
    }
    ideal.assign(valence.size(), 6);
    for (int p = 1; p <= m.node.size(); ++p) {
        if (m.node(p).fixed)
            ideal[static_cast<std::size_t>(p)] =
                std::max(1, static_cast<int>(std::lround(angle[static_cast<std::size_t>(p)] * 3.0 / kPi)));
    }
    auto excess = [&](int p, int change) {
        const int d = valence[static_cast<std::size_t>(p)] + change - ideal[static_cast<std::size_t>(p)];
        return d * d;
    };
    const double guard = sin_deg(kRepairAngle);
    int flips = 0;
    for (int t = 1; t <= m.tri.size(); ++t) {
        for (int k = 1; k <= 3; ++k) {
            if (!m.tri(t).alive) break;
            const int u = m.tri(t).nb(k);
            if (u == 0 || u < t) continue;
            const int a = m.tri(t).v(k), b = m.tri(t).v(next3(k)), c = m.tri(t).v(prev3(k));
            const int d = m.tri(u).v(m.side_in(u, t));
            const int before = excess(a, 0) + excess(b, 0) + excess(c, 0) + excess(d, 0);
            const int after = excess(a, 1) + excess(b, -1) + excess(c, -1) + excess(d, 1);
            if (after >= before) continue;
            const Vec<double, 2>&xa = m.node(a).x, &xb = m.node(b).x, &xc = m.node(c).x, &xd = m.node(d).x;
            const double old_worst = std::min(shape_of(m, t).sin_min, shape_of(m, u).sin_min);
            const double new_worst = std::min(quick_shape(xa, xb, xd).sin_min, quick_shape(xa, xd, xc).sin_min);
            if (new_worst < std::min(guard, old_worst) || !flip_side(m, t, k)) continue;
            ++valence[static_cast<std::size_t>(a)], ++valence[static_cast<std::size_t>(d)];
            --valence[static_cast<std::size_t>(b)], --valence[static_cast<std::size_t>(c)];
            dirty.mark(a), dirty.mark(b), dirty.mark(c), dirty.mark(d);
            ++flips;
        }
    }
    return flips;
}

}  // namespace

OptimizeCounts optimize_mesh(TriMesh& m) {
    OptimizeCounts c;
    OpScratch s;
    c.min_angle_before = worst_angle(m);
    std::vector<int> all;
    for (int t = 1; t <= m.tri.size(); ++t) all.push_back(t);
    c.flips += restore_delaunay(m, all, s);
    // Insertions are held to a tenth of the grid, so the count stays near
    // the one the spacing asks for.
    const int max_insertions = m.tri.size() / 10 + 10;
    Dirty dirty;
    for (int round = 1; round <= kRounds; ++round) {
        const int moves = c.moves;
        smooth_sweep(m, MoveGoal::worst_angle, sin_deg(kSmoothAngle), 0.0, s, c, dirty, true);
        const int changes = repair_pass(m, s, c, max_insertions);
        if (changes > 0) {
            dirty.angle.assign(dirty.angle.size(), 1);
            dirty.ratio.assign(dirty.ratio.size(), 1);
        }
        if (changes == 0 && c.moves == moves) break;
    }
    std::vector<int> valence, ideal;
    // Valence flips and the sweeps feed each other; the rounds stop once a
    // round changes fewer than one node in a thousand.
    for (int round = 1; round <= kShapeRounds; ++round) {
        const int before = c.flips + c.moves;
        c.flips += valence_pass(m, valence, ideal, dirty);
        smooth_sweep(m, MoveGoal::worst_angle, sin_deg(kSmoothAngle), 0.0, s, c, dirty, false);
        smooth_sweep(m, MoveGoal::radius_ratio, 1.0, kSmoothRatio, s, c, dirty, false);
        if (c.flips + c.moves - before < m.node.size() / 1000 + 1) break;
    }
    smooth_sweep(m, MoveGoal::worst_angle, sin_deg(kSmoothAngle), 0.0, s, c, dirty, false);
    c.min_angle_after = worst_angle(m);
    return c;
}

void optimize_grid(grid_record& grid) {
    say({"Optimising grid ..."});
    if (!isotropic_metric(grid)) {
        say({"The spacing is anisotropic: the grid is left as it is."});
        return;
    }
    GridLink link;
    TriMesh m = mesh_from_grid(grid, link);
    const OptimizeCounts c = optimize_mesh(m);
    grid_from_mesh(m, grid, link);
    static const Format counts("(' flips',i10,'  moves',i10,'  insertions',i8,'  collapses',i8)");
    static const Format angles("(' smallest angle before',f8.2,'  after',f8.2,' degrees')");
    say_fmt(counts, {c.flips, c.moves, c.insertions, c.collapses});
    say_fmt(angles, {c.min_angle_before, c.min_angle_after});
}

}  // namespace corvan
