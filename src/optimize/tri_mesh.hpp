// The grid as the optimiser sees it: nodes and counter-clockwise triangles
// with their neighbours, indexed from 1. A side without a neighbour is a
// boundary segment: it is never flipped or collapsed, and its nodes (fixed)
// never move. Removed nodes and triangles stay in place, marked dead, so
// that indices remain valid through a pass.
#pragma once

#include <vector>

#include "grid/one_based.hpp"

namespace corvan {

// The local vertex after / before k in counter-clockwise order.
inline int next3(int k) { return k % 3 + 1; }
inline int prev3(int k) { return (k + 1) % 3 + 1; }

struct OptNode {
    Vec<double, 2> x;
    double h = 0.0;       // target spacing at the node
    bool fixed = false;   // on the boundary: never moves, never removed
    bool corner = false;  // a boundary vertex where two edges meet
    bool alive = true;
    int tri = 0;          // one live triangle having the node as a vertex
};

struct OptTri {
    Vec<int, 3> v;   // nodes, counter-clockwise
    Vec<int, 3> nb;  // triangle across the side opposite v(k); 0: boundary segment
    bool alive = true;
};

class TriMesh {
public:
    Array1<OptNode> node;
    Array1<OptTri> tri;

    int add_node(const Vec<double, 2>& x, double h, bool fixed);
    // A triangle with vertices a, b, c (counter-clockwise) and no neighbours yet.
    int add_tri(int a, int b, int c);
    // Sets every nb from the vertices: sides met twice are linked, sides met
    // once are boundary segments. Also sets each node's tri.
    void link();

    // Local number (1..3) of node p in triangle t; 0 when p is no vertex of t.
    int local(int t, int p) const;
    // Local number in triangle u of the side it shares with t (the vertex of u
    // opposite that side); 0 when u is not a neighbour of t.
    int side_in(int u, int t) const;
    // Replaces the link of u that pointed to old_t by new_t (u = 0: nothing).
    void relink(int u, int old_t, int new_t);

    // The triangles around p, turning counter-clockwise from p's tri. Returns
    // false (out holding the triangles met) when the turn meets the boundary.
    bool star(int p, std::vector<int>& out) const;

    // Twice the signed area of t, and with node p placed at x instead.
    double area2(int t) const;
    double area2_with(int t, int p, const Vec<double, 2>& x) const;
    const Vec<double, 2>& xy(int t, int k) const { return node(tri(t).v(k)).x; }
    // Target spacing along the side opposite vertex k of t (mean of its ends).
    double side_spacing(int t, int k) const;
    double side_length(int t, int k) const;
};

// True when q lies inside the circle through a, b, c (counter-clockwise),
// by more than a rounding-level margin.
bool in_circle(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c,
               const Vec<double, 2>& q);

// The validity predicate every operator keeps: twice the area of a live
// triangle stays above this share of its squared longest side.
inline constexpr double kMinArea2Share = 1e-10;
bool valid_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c);

}  // namespace corvan
