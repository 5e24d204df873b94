#include "domain/smooth.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "grid/one_based.hpp"
#include "io/text_io.hpp"
#include "mesh/arrays.hpp"

namespace corvan {

namespace {

// Fixed sweep limit and tolerance on the sum of squared displacements of a
// sweep (coordinate units squared).
constexpr int kMaxSweeps = 10;
constexpr double kTolerance = 1e-06;

// A move that leaves an element with less than this fraction of its area
// (or turns it over) is refused for the sweep.
constexpr double kMinAreaRatio = 0.01;

// Work arrays of one smoothing, allocated on entry and released on exit.
struct SmoothWork {
    Array2<double> d;          // 2 x np_d: displacement of each node in the sweep
    Array1<double> w;          // np_d: 1 / (2 m) for a node of m elements; 0: node of no element
    Array1<int> first;         // np_d + 1: start of each node's elements in elems (CSR)
    Array1<int> elems;         // elements of each node, node by node
    Array1<char> queued;       // ns_d: element waiting in the check queue
    Array1<int> queue;         // ns_d: elements to check (circular)
    Array1<double> area0;      // ns_d: twice the signed area at the start of the sweep
};

// An element whose three vertices are all real nodes (a missing vertex is
// numbered 0 by the arrays and is warned about when they are built).
bool whole(const ArraysState& a, int e) {
    for (int m = 1; m <= 3; ++m)
        if (a.jj(m, e) < 1 || a.jj(m, e) > a.np_d) return false;
    return true;
}

// Twice the signed area of element e with its vertices at rr + scale * d.
double area2(const ArraysState& a, const Array2<double>& d, double scale, int e) {
    const int n1 = a.jj(1, e), n2 = a.jj(2, e), n3 = a.jj(3, e);
    const double x1 = a.rr(1, n1) + scale * d(1, n1), y1 = a.rr(2, n1) + scale * d(2, n1);
    const double x2 = a.rr(1, n2) + scale * d(1, n2), y2 = a.rr(2, n2) + scale * d(2, n2);
    const double x3 = a.rr(1, n3) + scale * d(1, n3), y3 = a.rr(2, n3) + scale * d(2, n3);
    return (x2 - x1) * (y3 - y1) - (x3 - x1) * (y2 - y1);
}

// True when the move keeps element e's orientation and at least the fraction
// kMinAreaRatio of its area. An element already degenerate (zero area) has no
// orientation to keep.
bool move_acceptable(double a0, double a1) {
    if (a0 == 0.0) return true;
    const double sign = a0 > 0.0 ? 1.0 : -1.0;
    return sign * a1 > kMinAreaRatio * std::fabs(a0);
}

// Node -> elements table, so that keeping a node in place rechecks only the
// elements around it.
void build_node_elements(const ArraysState& a, SmoothWork& wk) {
    wk.first.assign(a.np_d + 1, 0);
    for (int e = 1; e <= a.ns_d; ++e) {
        if (!whole(a, e)) continue;
        for (int m = 1; m <= 3; ++m) wk.first(a.jj(m, e)) += 1;
    }
    // Turn the counts into start positions (1-based), last entry one past the end.
    int pos = 1;
    for (int n = 1; n <= a.np_d; ++n) {
        const int c = wk.first(n);
        wk.first(n) = pos;
        pos += c;
    }
    wk.first(a.np_d + 1) = pos;
    wk.elems.assign(pos - 1, 0);
    Array1<int> fill(a.np_d, 0);
    for (int e = 1; e <= a.ns_d; ++e) {
        if (!whole(a, e)) continue;
        for (int m = 1; m <= 3; ++m) {
            const int n = a.jj(m, e);
            wk.elems(wk.first(n) + fill(n)) = e;
            fill(n) += 1;
        }
    }
}

// Keeps in place, for this sweep, every moving vertex of an element the
// sweep would turn over or nearly flatten, until no element is left in that
// state. Each node is kept at most once, so the work is linear in the grid.
void refuse_tangling_moves(ArraysState& a, SmoothWork& wk) {
    int head = 1, tail = 0, waiting = 0;
    const int cap = a.ns_d;
    for (int e = 1; e <= a.ns_d; ++e) {
        if (!whole(a, e)) {
            wk.queued(e) = 0;
            continue;
        }
        wk.area0(e) = area2(a, wk.d, 0.0, e);
        wk.queued(e) = 1;
        tail = tail % cap + 1;
        wk.queue(tail) = e;
        ++waiting;
    }
    while (waiting > 0) {
        const int e = wk.queue(head);
        head = head % cap + 1;
        --waiting;
        wk.queued(e) = 0;
        if (move_acceptable(wk.area0(e), area2(a, wk.d, 1.0, e))) continue;
        for (int m = 1; m <= 3; ++m) {
            const int n = a.jj(m, e);
            if (wk.d(1, n) == 0.0 && wk.d(2, n) == 0.0) continue;
            wk.d(1, n) = 0.0;
            wk.d(2, n) = 0.0;
            // Every element around the kept node changes shape again.
            for (int k = wk.first(n); k < wk.first(n + 1); ++k) {
                const int f = wk.elems(k);
                if (wk.queued(f)) continue;
                wk.queued(f) = 1;
                tail = tail % cap + 1;
                wk.queue(tail) = f;
                ++waiting;
            }
        }
    }
}

}  // namespace

void smooth() {
    ArraysState& a = arrays;
    if (a.array == nullptr) {
        stop({" smooth error, array not associated", " (stop)"});
    }
    const int np = a.np_d;
    const int ns = a.ns_d;

    SmoothWork wk;
    wk.d.assign(2, np, 0.0);
    wk.w.assign(np, 0.0);
    wk.queued.assign(ns, 0);
    wk.queue.assign(ns, 0);
    wk.area0.assign(ns, 0.0);
    build_node_elements(a, wk);

    // Each element gives a node its two other vertices, so a node of m
    // elements sums 2 m neighbour positions (interior neighbours twice).
    for (int e = 1; e <= ns; ++e) {
        if (!whole(a, e)) continue;
        for (int m = 1; m <= 3; ++m) wk.w(a.jj(m, e)) += 2.0;
    }
    for (int n = 1; n <= np; ++n)
        if (wk.w(n) > 0.0) wk.w(n) = 1.0 / wk.w(n);

    static const Format line("(i5,e12.5)");
    for (int sweep = 1; sweep <= kMaxSweeps; ++sweep) {
        for (int n = 1; n <= np; ++n) wk.d(1, n) = wk.d(2, n) = 0.0;
        for (int e = 1; e <= ns; ++e) {
            if (!whole(a, e)) continue;
            Vec<double, 2> g;
            for (int m = 1; m <= 3; ++m)
                for (int c = 1; c <= 2; ++c) g(c) += a.rr(c, a.jj(m, e));
            for (int m = 1; m <= 3; ++m) {
                const int n = a.jj(m, e);
                for (int c = 1; c <= 2; ++c) wk.d(c, n) += g(c) - a.rr(c, n);
            }
        }
        for (int n = 1; n <= np; ++n) {
            // A node of no element has no neighbours to move toward.
            if (wk.w(n) == 0.0) continue;
            for (int c = 1; c <= 2; ++c) wk.d(c, n) = wk.w(n) * wk.d(c, n) - a.rr(c, n);
        }
        for (int b = 1; b <= a.np_b; ++b) {
            const int n = a.jjdir(b);
            if (n < 1 || n > np) continue;
            wk.d(1, n) = wk.d(2, n) = 0.0;
        }
        refuse_tangling_moves(a, wk);
        double res = 0.0;
        for (int n = 1; n <= np; ++n) {
            for (int c = 1; c <= 2; ++c) a.rr(c, n) += wk.d(c, n);
            res += wk.d(1, n) * wk.d(1, n) + wk.d(2, n) * wk.d(2, n);
        }
        say_fmt(line, {sweep, res});
        if (res < kTolerance) break;
    }

    for (point* p = a.array->pnt_head->next; p != a.array->pnt_head; p = p->next) {
        if (p->i < 1 || p->i > np) continue;
        p->x(1) = a.rr(1, p->i);
        p->x(2) = a.rr(2, p->i);
    }
}

}  // namespace corvan
