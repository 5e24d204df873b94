#include "optimize/tri_mesh.hpp"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace corvan {

int TriMesh::add_node(const Vec<double, 2>& x, double h, bool fixed) {
    OptNode n;
    n.x = x;
    n.h = h;
    n.fixed = fixed;
    node.push_back(n);
    return node.size();
}

int TriMesh::add_tri(int a, int b, int c) {
    OptTri t;
    t.v(1) = a;
    t.v(2) = b;
    t.v(3) = c;
    tri.push_back(t);
    return tri.size();
}

void TriMesh::link() {
    // Each side as (smaller node, larger node, triangle, local vertex opposite);
    // sorted, the two triangles of an inner side are adjacent entries.
    std::vector<std::tuple<int, int, int, int>> sides;
    sides.reserve(static_cast<std::size_t>(3 * tri.size()));
    for (int t = 1; t <= tri.size(); ++t) {
        if (!tri(t).alive) continue;
        for (int k = 1; k <= 3; ++k) {
            const int a = tri(t).v(next3(k)), b = tri(t).v(prev3(k));
            sides.emplace_back(std::min(a, b), std::max(a, b), t, k);
            tri(t).nb(k) = 0;
            node(tri(t).v(k)).tri = t;
        }
    }
    std::sort(sides.begin(), sides.end());
    for (std::size_t i = 0; i + 1 < sides.size(); ++i) {
        const auto& [a, b, t, k] = sides[i];
        const auto& [a2, b2, u, m] = sides[i + 1];
        if (a == a2 && b == b2) {
            tri(t).nb(k) = u;
            tri(u).nb(m) = t;
            ++i;
        }
    }
}

int TriMesh::local(int t, int p) const {
    for (int k = 1; k <= 3; ++k)
        if (tri(t).v(k) == p) return k;
    return 0;
}

int TriMesh::side_in(int u, int t) const {
    for (int k = 1; k <= 3; ++k)
        if (tri(u).nb(k) == t) return k;
    return 0;
}

void TriMesh::relink(int u, int old_t, int new_t) {
    if (u == 0) return;
    for (int k = 1; k <= 3; ++k)
        if (tri(u).nb(k) == old_t) tri(u).nb(k) = new_t;
}

bool TriMesh::star(int p, std::vector<int>& out) const {
    out.clear();
    const int t0 = node(p).tri;
    int t = t0;
    do {
        out.push_back(t);
        const int k = local(t, p);
        t = tri(t).nb(next3(k));
        if (t == 0) return false;
    } while (t != t0 && out.size() < 1000);
    return t == t0;
}

double TriMesh::area2(int t) const {
    const Vec<double, 2>&a = xy(t, 1), &b = xy(t, 2), &c = xy(t, 3);
    return (b(1) - a(1)) * (c(2) - a(2)) - (c(1) - a(1)) * (b(2) - a(2));
}

double TriMesh::area2_with(int t, int p, const Vec<double, 2>& x) const {
    const Vec<double, 2>* q[3];
    for (int k = 1; k <= 3; ++k) q[k - 1] = tri(t).v(k) == p ? &x : &xy(t, k);
    const Vec<double, 2>&a = *q[0], &b = *q[1], &c = *q[2];
    return (b(1) - a(1)) * (c(2) - a(2)) - (c(1) - a(1)) * (b(2) - a(2));
}

double TriMesh::side_spacing(int t, int k) const {
    return 0.5 * (node(tri(t).v(next3(k))).h + node(tri(t).v(prev3(k))).h);
}

double TriMesh::side_length(int t, int k) const {
    const Vec<double, 2>&a = xy(t, next3(k)), &b = xy(t, prev3(k));
    return std::hypot(b(1) - a(1), b(2) - a(2));
}

bool in_circle(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c,
               const Vec<double, 2>& q) {
    const double ax = a(1) - q(1), ay = a(2) - q(2);
    const double bx = b(1) - q(1), by = b(2) - q(2);
    const double cx = c(1) - q(1), cy = c(2) - q(2);
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double det = ax * (by * c2 - b2 * cy) - ay * (bx * c2 - b2 * cx) + a2 * (bx * cy - by * cx);
    // The terms are of the size of (side length)^4: a relative margin keeps
    // four cocircular nodes (a lattice) from flipping back and forth.
    const double scale = a2 * (std::fabs(bx * cy) + std::fabs(by * cx)) + b2 * (std::fabs(ax * cy) + std::fabs(ay * cx)) +
                         c2 * (std::fabs(ax * by) + std::fabs(ay * bx));
    return det > 1e-10 * scale;
}

bool valid_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c) {
    const double area2 = (b(1) - a(1)) * (c(2) - a(2)) - (c(1) - a(1)) * (b(2) - a(2));
    auto d2 = [](const Vec<double, 2>& p, const Vec<double, 2>& q) {
        return (p(1) - q(1)) * (p(1) - q(1)) + (p(2) - q(2)) * (p(2) - q(2));
    };
    const double longest = std::max({d2(a, b), d2(b, c), d2(c, a)});
    return area2 > kMinArea2Share * longest;
}

}  // namespace corvan
