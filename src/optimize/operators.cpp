#include "optimize/operators.hpp"

#include <algorithm>
#include <cmath>

#include "quality/measures.hpp"

namespace corvan {

namespace {

double orient(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c) {
    return (b(1) - a(1)) * (c(2) - a(2)) - (c(1) - a(1)) * (b(2) - a(2));
}

// s.ring := for each triangle of s.star, its two nodes other than p in
// counter-clockwise order after p.
void load_ring(const TriMesh& m, int p, OpScratch& s) {
    s.ring.clear();
    for (int t : s.star) {
        const int k = m.local(t, p);
        s.ring.push_back(m.xy(t, next3(k)));
        s.ring.push_back(m.xy(t, prev3(k)));
    }
}

// The star's shape with p at x. Once an angle's sine is at or below floor
// the rest of the ring is not measured and the result is invalid: the
// searches below pass the value a candidate must beat.
StarShape ring_shape(const OpScratch& s, const Vec<double, 2>& x, double floor = -1.0) {
    StarShape r;
    double worst = 1.0, sum = 0.0;
    for (std::size_t i = 0; i < s.ring.size(); i += 2) {
        if (!valid_shape(x, s.ring[i], s.ring[i + 1])) return r;
        const QuickShape q = quick_shape(x, s.ring[i], s.ring[i + 1]);
        if (q.sin_min <= floor) return r;
        worst = std::min(worst, q.sin_min);
        sum += q.radius_ratio;
    }
    r.sin_min = worst;
    r.mean_rr = s.ring.empty() ? 0.0 : sum / static_cast<double>(s.ring.size() / 2);
    return r;
}

double goal_value(MoveGoal goal, const StarShape& sh, double guard) {
    if (sh.sin_min < 0.0) return -1.0;
    if (goal == MoveGoal::worst_angle) return sh.sin_min;
    return sh.sin_min < guard ? -1.0 : sh.mean_rr;
}

// The goal's value at x when it can beat `beat`, else a value that does not
// (-1 or one at most `beat`). A worst-angle candidate is out as soon as one
// angle is no better than beat; a ratio candidate as soon as one falls
// below the guard.
double candidate_value(MoveGoal goal, const OpScratch& s, const Vec<double, 2>& x, double guard, double beat) {
    const double floor = goal == MoveGoal::worst_angle ? beat : std::nextafter(guard, -1.0);
    return goal_value(goal, ring_shape(s, x, floor), guard);
}

// The nodes joined to q by a side, whether q's star is closed or not.
void neighbours_of(const TriMesh& m, int q, std::vector<int>& out) {
    out.clear();
    const int t0 = m.node(q).tri;
    int t = t0;
    bool open = false;
    do {
        const int k = m.local(t, q);
        out.push_back(m.tri(t).v(next3(k)));
        out.push_back(m.tri(t).v(prev3(k)));
        t = m.tri(t).nb(next3(k));
        if (t == 0) open = true;
    } while (!open && t != t0);
    if (open) {
        // Turn the other way from the first triangle to the boundary.
        t = m.tri(t0).nb(prev3(m.local(t0, q)));
        while (t != 0 && t != t0) {
            const int k = m.local(t, q);
            out.push_back(m.tri(t).v(next3(k)));
            out.push_back(m.tri(t).v(prev3(k)));
            t = m.tri(t).nb(prev3(k));
        }
    }
}

double star_worst(const TriMesh& m, const std::vector<int>& tris) {
    double worst = 1.0;
    for (int t : tris) worst = std::min(worst, quick_shape(m.xy(t, 1), m.xy(t, 2), m.xy(t, 3)).sin_min);
    return worst;
}

// The triangles around q, open star or closed.
void triangles_of(const TriMesh& m, int q, std::vector<int>& out) {
    if (m.star(q, out)) return;
    const int t0 = m.node(q).tri;
    int t = m.tri(t0).nb(prev3(m.local(t0, q)));
    while (t != 0 && t != t0) {
        out.push_back(t);
        t = m.tri(t).nb(prev3(m.local(t, q)));
    }
}

// Worst sine after joining r onto q (the side r-q shared by t and u), or -1
// when the collapse is not allowed. s.star holds r's star on return.
double collapse_result(TriMesh& m, int r, int q, int t, int u, OpScratch& s) {
    if (m.node(r).fixed || !m.star(r, s.star)) return -1.0;
    const int c = m.tri(t).v(6 - m.local(t, r) - m.local(t, q));
    const int d = m.tri(u).v(6 - m.local(u, r) - m.local(u, q));
    // Link condition: r and q have no common neighbour but c and d.
    neighbours_of(m, q, s.stack);
    for (int tr : s.star) {
        const int k = m.local(tr, r);
        const int w = m.tri(tr).v(next3(k));
        if (w == q || w == c || w == d) continue;
        if (std::find(s.stack.begin(), s.stack.end(), w) != s.stack.end()) return -1.0;
    }
    triangles_of(m, q, s.star2);
    double before = std::min(star_worst(m, s.star), star_worst(m, s.star2));
    double after = 1.0;
    const Vec<double, 2>& xq = m.node(q).x;
    for (int tr : s.star) {
        if (tr == t || tr == u) continue;
        const int k = m.local(tr, r);
        const Vec<double, 2>&b = m.xy(tr, next3(k)), &e = m.xy(tr, prev3(k));
        if (!valid_shape(xq, b, e)) return -1.0;
        after = std::min(after, quick_shape(xq, b, e).sin_min);
    }
    for (int tr : s.star2) {
        if (tr != t && tr != u) after = std::min(after, quick_shape(m.xy(tr, 1), m.xy(tr, 2), m.xy(tr, 3)).sin_min);
    }
    return after > before ? after : -1.0;
}

void do_collapse(TriMesh& m, int r, int q, int t, int u, OpScratch& s) {
    m.star(r, s.star);
    int keep = 0;
    for (int tr : s.star) {
        if (tr == t || tr == u) continue;
        m.tri(tr).v(m.local(tr, r)) = q;
        if (keep == 0) keep = tr;
    }
    for (int x : {t, u}) {
        const int kr = m.local(x, r), kq = m.local(x, q);
        const int o = m.tri(x).v(6 - kr - kq);
        const int n1 = m.tri(x).nb(kq);  // across r-o: now q-o
        const int n2 = m.tri(x).nb(kr);  // across q-o
        m.relink(n1, x, n2);
        m.relink(n2, x, n1);
        m.node(o).tri = n1;
        m.tri(x).alive = false;
    }
    m.node(q).tri = keep;
    m.node(r).alive = false;
}

}  // namespace

bool flip_side(TriMesh& m, int t, int k) {
    const int u = m.tri(t).nb(k);
    if (u == 0) return false;
    const int mu = m.side_in(u, t);
    const int a = m.tri(t).v(k), b = m.tri(t).v(next3(k)), c = m.tri(t).v(prev3(k));
    const int d = m.tri(u).v(mu);
    const Vec<double, 2>&xa = m.node(a).x, &xb = m.node(b).x, &xc = m.node(c).x, &xd = m.node(d).x;
    if (!valid_shape(xa, xb, xd) || !valid_shape(xa, xd, xc)) return false;
    const int t_ca = m.tri(t).nb(next3(k)), t_ab = m.tri(t).nb(prev3(k));
    const int u_bd = m.tri(u).nb(next3(mu)), u_dc = m.tri(u).nb(prev3(mu));
    OptTri& T = m.tri(t);
    T.v(1) = a, T.v(2) = b, T.v(3) = d;
    T.nb(1) = u_bd, T.nb(2) = u, T.nb(3) = t_ab;
    OptTri& U = m.tri(u);
    U.v(1) = a, U.v(2) = d, U.v(3) = c;
    U.nb(1) = u_dc, U.nb(2) = t_ca, U.nb(3) = t;
    m.relink(u_bd, u, t);
    m.relink(t_ca, t, u);
    m.node(a).tri = t, m.node(b).tri = t, m.node(c).tri = u, m.node(d).tri = u;
    return true;
}

int restore_delaunay(TriMesh& m, const std::vector<int>& seeds, OpScratch& s) {
    std::vector<int>& stack = s.stack;
    stack.assign(seeds.begin(), seeds.end());
    int flips = 0;
    s.touched.clear();
    // Each flip removes a non-Delaunay side for good on exact arithmetic; the
    // bound only guards against rounding cycles.
    const long long limit = 20LL * m.tri.size() + 1000;
    while (!stack.empty() && flips < limit) {
        const int t = stack.back();
        stack.pop_back();
        if (!m.tri(t).alive) continue;
        for (int k = 1; k <= 3; ++k) {
            const int u = m.tri(t).nb(k);
            if (u == 0) continue;
            const int d = m.tri(u).v(m.side_in(u, t));
            if (in_circle(m.xy(t, 1), m.xy(t, 2), m.xy(t, 3), m.node(d).x) && flip_side(m, t, k)) {
                ++flips;
                s.touched.push_back(t);
                s.touched.push_back(u);
                stack.push_back(t);
                stack.push_back(u);
                break;
            }
        }
    }
    return flips;
}

StarShape star_shape(const TriMesh& m, int p, const Vec<double, 2>& x, OpScratch& s) {
    load_ring(m, p, s);
    return ring_shape(s, x);
}

bool improve_node(TriMesh& m, int p, MoveGoal goal, double guard_sin, OpScratch& s) {
    OptNode& n = m.node(p);
    if (n.fixed || !n.alive || !m.star(p, s.star)) return false;
    load_ring(m, p, s);
    const Vec<double, 2> x0 = n.x;
    const StarShape now = ring_shape(s, x0);
    const double guard = std::min(guard_sin, now.sin_min) * (1.0 - 1e-9);
    const double v0 = goal_value(goal, now, guard);
    Vec<double, 2> best = x0;
    double vbest = v0;
    // The ring's nodes are the first of each pair.
    double cx = 0.0, cy = 0.0, len = 0.0;
    for (std::size_t i = 0; i < s.ring.size(); i += 2) {
        cx += s.ring[i](1);
        cy += s.ring[i](2);
        const double dx = s.ring[i](1) - x0(1), dy = s.ring[i](2) - x0(2);
        len += std::sqrt(dx * dx + dy * dy);
    }
    const double count = static_cast<double>(s.ring.size() / 2);
    const Vec<double, 2> centroid = vec2(cx / count, cy / count);
    len /= count;
    const double vc = candidate_value(goal, s, centroid, guard, vbest);
    if (vc > vbest) best = centroid, vbest = vc;
    static const double dirs[8][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1},
                                      {0.7071067811865476, 0.7071067811865476}, {-0.7071067811865476, 0.7071067811865476},
                                      {-0.7071067811865476, -0.7071067811865476}, {0.7071067811865476, -0.7071067811865476}};
    double step = 0.1 * len;
    for (int it = 0; it < 60 && step > 1e-2 * len; ++it) {
        Vec<double, 2> cand = best;
        double vcand = vbest;
        for (const auto& d : dirs) {
            const Vec<double, 2> y = vec2(best(1) + step * d[0], best(2) + step * d[1]);
            const double vy = candidate_value(goal, s, y, guard, vcand);
            if (vy > vcand) cand = y, vcand = vy;
        }
        if (vcand > vbest + 1e-12) {
            best = cand, vbest = vcand;
        } else {
            step *= 0.5;
        }
    }
    // A move must gain something a solver would notice: tiny gains would
    // keep every sweep busy on a grid that is already good.
    const double least = goal == MoveGoal::worst_angle ? 1e-6 : 1e-4;
    if (!(vbest > v0 + least)) return false;
    n.x = best;
    return true;
}

int collapse_side(TriMesh& m, int t, int k, OpScratch& s) {
    const int u = m.tri(t).nb(k);
    if (u == 0) return 0;
    const int a = m.tri(t).v(next3(k)), b = m.tri(t).v(prev3(k));
    const double ra = collapse_result(m, a, b, t, u, s);  // a joins b
    const double rb = collapse_result(m, b, a, t, u, s);  // b joins a
    if (ra < 0.0 && rb < 0.0) return 0;
    if (ra >= rb) {
        do_collapse(m, a, b, t, u, s);
        return b;
    }
    do_collapse(m, b, a, t, u, s);
    return a;
}

int locate(const TriMesh& m, int t, const Vec<double, 2>& x) {
    for (int steps = 0; steps < m.tri.size() && t != 0; ++steps) {
        int across = 0;
        for (int k = 1; k <= 3 && across == 0; ++k) {
            if (orient(m.xy(t, next3(k)), m.xy(t, prev3(k)), x) < 0.0) across = k;
        }
        if (across == 0) return t;
        t = m.tri(t).nb(across);
    }
    return 0;
}

int insert_node(TriMesh& m, int t, const Vec<double, 2>& x, OpScratch& s) {
    const double total = m.area2(t);
    Vec<double, 3> bary;
    for (int k = 1; k <= 3; ++k) bary(k) = orient(m.xy(t, next3(k)), m.xy(t, prev3(k)), x) / total;
    constexpr double kOnSide = 1e-9;
    int side = 0;
    for (int k = 1; k <= 3; ++k) {
        if (bary(k) < -kOnSide) return 0;
        if (bary(k) <= kOnSide) {
            if (side != 0) return 0;  // at a vertex
            side = k;
        }
    }
    double h = 0.0;
    for (int k = 1; k <= 3; ++k) h += std::max(bary(k), 0.0) * m.node(m.tri(t).v(k)).h;
    const int k = side == 0 ? 1 : side;
    const int a = m.tri(t).v(k), b = m.tri(t).v(next3(k)), c = m.tri(t).v(prev3(k));
    const Vec<double, 2>&xa = m.node(a).x, &xb = m.node(b).x, &xc = m.node(c).x;
    s.star.clear();
    if (side == 0) {
        if (!valid_shape(xa, xb, x) || !valid_shape(xb, xc, x) || !valid_shape(xc, xa, x)) return 0;
        const int n = m.add_node(x, h, false);
        const int nb_a = m.tri(t).nb(k), nb_b = m.tri(t).nb(next3(k)), nb_c = m.tri(t).nb(prev3(k));
        const int t1 = m.add_tri(b, c, n), t2 = m.add_tri(c, a, n);
        OptTri& T = m.tri(t);
        T.v(1) = a, T.v(2) = b, T.v(3) = n;
        T.nb(1) = t1, T.nb(2) = t2, T.nb(3) = nb_c;
        m.tri(t1).nb(1) = t2, m.tri(t1).nb(2) = t, m.tri(t1).nb(3) = nb_a;
        m.tri(t2).nb(1) = t, m.tri(t2).nb(2) = t1, m.tri(t2).nb(3) = nb_b;
        m.relink(nb_a, t, t1);
        m.relink(nb_b, t, t2);
        m.node(n).tri = t, m.node(a).tri = t, m.node(b).tri = t, m.node(c).tri = t1;
        s.star = {t, t1, t2};
    } else {
        const int u = m.tri(t).nb(k);
        if (u == 0) return 0;  // a boundary segment is never split here
        const int mu = m.side_in(u, t);
        const int d = m.tri(u).v(mu);
        const Vec<double, 2>& xd = m.node(d).x;
        if (!valid_shape(xa, xb, x) || !valid_shape(xa, x, xc) || !valid_shape(xd, xc, x) || !valid_shape(xd, x, xb))
            return 0;
        const int n = m.add_node(x, h, false);
        const int t_ca = m.tri(t).nb(next3(k)), t_ab = m.tri(t).nb(prev3(k));
        const int u_bd = m.tri(u).nb(next3(mu)), u_dc = m.tri(u).nb(prev3(mu));
        const int t2 = m.add_tri(a, n, c), u2 = m.add_tri(d, n, b);
        OptTri& T = m.tri(t);
        T.v(1) = a, T.v(2) = b, T.v(3) = n;
        T.nb(1) = u2, T.nb(2) = t2, T.nb(3) = t_ab;
        m.tri(t2).nb(1) = u, m.tri(t2).nb(2) = t_ca, m.tri(t2).nb(3) = t;
        OptTri& U = m.tri(u);
        U.v(1) = d, U.v(2) = c, U.v(3) = n;
        U.nb(1) = t2, U.nb(2) = u2, U.nb(3) = u_dc;
        m.tri(u2).nb(1) = t, m.tri(u2).nb(2) = u_bd, m.tri(u2).nb(3) = u;
        m.relink(t_ca, t, t2);
        m.relink(u_bd, u, u2);
        m.node(n).tri = t, m.node(a).tri = t, m.node(b).tri = t, m.node(c).tri = u, m.node(d).tri = u;
        s.star = {t, t2, u, u2};
    }
    const std::vector<int> seeds = s.star;
    restore_delaunay(m, seeds, s);
    return m.node.size();
}

}  // namespace corvan
