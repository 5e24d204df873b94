#include "export/grid_measures.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace corvan {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool is_node(const ArraysState& a, int p) { return p >= 1 && p <= a.np_d; }

Vec<double, 2> node_xy(const ArraysState& a, int p) {
    Vec<double, 2> v;
    v(1) = a.rr(1, p);
    v(2) = a.rr(2, p);
    return v;
}

// The value at position k (from 0) of v in ascending order; reorders v.
double ranked(std::vector<double>& v, std::size_t k) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

}  // namespace

Array1<TriangleShape> triangle_shapes(const ArraysState& a) {
    Array1<TriangleShape> shapes(a.ns_d);
    for (int e = 1; e <= a.ns_d; ++e) {
        // A vertex the numbering could not name (0) leaves the triangle
        // without area, as the worst shape.
        if (!is_node(a, a.jj(1, e)) || !is_node(a, a.jj(2, e)) || !is_node(a, a.jj(3, e))) continue;
        shapes(e) = triangle_shape(node_xy(a, a.jj(1, e)), node_xy(a, a.jj(2, e)), node_xy(a, a.jj(3, e)));
    }
    return shapes;
}

Array1<int> node_edges(const ArraysState& a) {
    Array1<int> edge(a.np_d, 0);
    // Boundary elements run edge by edge, so the first to claim a node has
    // the smallest edge index.
    for (int k = 1; k <= a.ns_b; ++k) {
        for (int m = 1; m <= 2; ++m) {
            const int p = a.jjs(m, k);
            if (is_node(a, p) && edge(p) == 0) edge(p) = a.iflux(k);
        }
    }
    return edge;
}

GridQuality grid_quality(const ArraysState& a, const Array1<TriangleShape>& shapes) {
    GridQuality q;
    q.nodes = a.np_d;
    q.triangles = a.ns_d;
    q.boundary_segments = a.ns_b;

    const int n = shapes.size();
    std::vector<double> angles(static_cast<std::size_t>(n));
    double max_angle = n > 0 ? 0.0 : kNaN;
    double rr_min = n > 0 ? std::numeric_limits<double>::infinity() : kNaN, rr_sum = 0.0;
    for (int e = 1; e <= n; ++e) {
        const TriangleShape& t = shapes(e);
        angles[static_cast<std::size_t>(e - 1)] = t.min_angle;
        const int bin = std::clamp(static_cast<int>(t.min_angle / kAngleBinWidth), 0, kAngleBins - 1);
        ++q.min_angle_bins[static_cast<std::size_t>(bin)];
        max_angle = std::max(max_angle, t.max_angle);
        rr_min = std::min(rr_min, t.radius_ratio);
        rr_sum += t.radius_ratio;
    }
    q.max_angle_max = max_angle;
    q.radius_ratio_min = rr_min;
    q.radius_ratio_mean = n > 0 ? rr_sum / n : kNaN;
    if (n > 0) {
        const auto un = static_cast<std::size_t>(n);
        q.min_angle_p1 = ranked(angles, un / 100);
        q.min_angle_median = ranked(angles, un / 2);
        q.min_angle_min = *std::min_element(angles.begin(), angles.end());
    } else {
        q.min_angle_min = q.min_angle_p1 = q.min_angle_median = kNaN;
    }

    // Each side once: from the triangle with the smaller number, or from its
    // only triangle on the boundary. Welford's running mean and variance.
    double mean = 0.0, m2 = 0.0;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int e = 1; e <= a.ns_d; ++e) {
        for (int m = 1; m <= 3; ++m) {
            const int nb = a.neigh(m, e);
            if (nb != 0 && nb < e) continue;
            const int i = a.jj(m % 3 + 1, e), j = a.jj((m + 1) % 3 + 1, e);
            if (!is_node(a, i) || !is_node(a, j)) continue;
            const double r = length_over_spacing(node_xy(a, i), node_xy(a, j), a.hh(i), a.hh(j));
            ++q.sides;
            const double d = r - mean;
            mean += d / q.sides;
            m2 += d * (r - mean);
            lo = std::min(lo, r);
            hi = std::max(hi, r);
        }
    }
    if (q.sides > 0) {
        q.length_mean = mean;
        q.length_std = std::sqrt(m2 / q.sides);
        q.length_min = lo;
        q.length_max = hi;
    } else {
        q.length_mean = q.length_std = q.length_min = q.length_max = kNaN;
    }
    return q;
}

}  // namespace corvan
