#include "check/boundary_crossings.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/curves.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

// Share of the boundary's extent below which two boundary parts touch: the
// Delaunay kernel cannot resolve a gap much narrower (its triangles there
// would have determinants near its flatness bound), and the boundary stage
// would halve segments for a long time before giving up.
constexpr double kTouchShare = 1e-6;
// Share of the coordinates' size below which two knots are one place.
constexpr double kSamePlaceShare = 1e-9;
// Sine of the angle below which two segments leaving a shared point along
// the same direction overlap.
constexpr double kFoldSine = 1e-6;
// Points added inside a knot interval whose curve bends away from its chord.
constexpr int kBendPoints = 3;

// One segment of an edge's polyline. A polyline point's id is -v for the
// point at boundary vertex v (shared by the edges that meet there) and a
// positive number of its own for any other point.
struct segment {
    int edge;
    double ax, ay, bx, by;
    long long ia, ib;
    double sa, sb;  // arc length along the edge's polyline at a and b
};

struct polylines {
    std::vector<segment> segs;
    double xmin = 0.0, ymin = 0.0, xmax = 0.0, ymax = 0.0;
};

void add_point(std::vector<std::pair<double, double>>& pts, const Vec<double, 2>& p) { pts.push_back({p(1), p(2)}); }

polylines build_polylines(const grid_record& grid) {
    polylines out;
    long long next_id = 0;
    bool first = true;
    std::vector<std::pair<double, double>> pts;
    for (int e = 1; e <= grid.n_edge; ++e) {
        const edge_record& ed = grid.edge(e);
        const int ic = ed.icurv;
        const curve& c = curv(ic);
        const double total = c.s(c.ns);
        // The bend of an interval: its curve's middle against its chord's.
        double bend_tol = 0.0;
        for (int i = 1; i <= c.ns; ++i) {
            bend_tol = std::max({bend_tol, std::fabs(c.x(1, i)), std::fabs(c.x(2, i))});
        }
        bend_tol *= kSamePlaceShare;
        pts.clear();
        for (int i = 1; i <= c.ns; ++i) {
            pts.push_back({c.x(1, i), c.x(2, i)});
            if (i == c.ns || !(total > 0.0)) continue;
            Vec<double, 2> mid;
            evalc_0(ic, 0.5 * (c.s(i) + c.s(i + 1)) / total, mid);
            // Its distance from the chord's line (a straight curve may run
            // along its chord at a varying speed).
            const double dx = c.x(1, i + 1) - c.x(1, i), dy = c.x(2, i + 1) - c.x(2, i);
            const double chord = std::hypot(dx, dy);
            const double off = chord > 0.0 ? std::fabs(dx * (mid(2) - c.x(2, i)) - dy * (mid(1) - c.x(1, i))) / chord
                                            : std::hypot(mid(1) - c.x(1, i), mid(2) - c.x(2, i));
            if (off <= bend_tol) continue;
            for (int k = 1; k <= kBendPoints; ++k) {
                Vec<double, 2> p;
                const double t = static_cast<double>(k) / (kBendPoints + 1);
                evalc_0(ic, ((1.0 - t) * c.s(i) + t * c.s(i + 1)) / total, p);
                add_point(pts, p);
            }
        }
        // Knots that the geometry file's digits made one place (a curve
        // standing still for a moment) are one polyline point.
        std::size_t kept = 1;
        for (std::size_t k = 1; k < pts.size(); ++k) {
            const bool last = k + 1 == pts.size();
            const auto& prev = pts[kept - 1];
            const bool same = std::hypot(pts[k].first - prev.first, pts[k].second - prev.second) <= bend_tol;
            if (same && !(last && kept > 1)) continue;
            pts[same ? kept - 1 : kept++] = pts[k];
        }
        pts.resize(kept);
        double arc = 0.0;
        for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
            const long long ia = k == 0 ? -static_cast<long long>(ed.vbeg) : next_id;
            const long long ib = k + 2 == pts.size() ? -static_cast<long long>(ed.vend) : ++next_id;
            const double len = std::hypot(pts[k + 1].first - pts[k].first, pts[k + 1].second - pts[k].second);
            out.segs.push_back({e, pts[k].first, pts[k].second, pts[k + 1].first, pts[k + 1].second, ia, ib, arc,
                                arc + len});
            arc += len;
        }
        for (const auto& [x, y] : pts) {
            if (first) {
                out.xmin = out.xmax = x;
                out.ymin = out.ymax = y;
                first = false;
            }
            out.xmin = std::min(out.xmin, x);
            out.xmax = std::max(out.xmax, x);
            out.ymin = std::min(out.ymin, y);
            out.ymax = std::max(out.ymax, y);
        }
    }
    return out;
}

double orient(double ax, double ay, double bx, double by, double cx, double cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Distance from (px, py) to the segment (ax, ay)-(bx, by).
double point_segment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double ll = dx * dx + dy * dy;
    double t = ll > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / ll : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Where segments a and b meet (closer than tol), apart from the end point
// they share as neighbours along the boundary; false when they do not.
bool meet(const segment& a, const segment& b, double tol, double& x, double& y) {
    const bool aa = a.ia == b.ia || a.ia == b.ib;
    const bool ab = a.ib == b.ia || a.ib == b.ib;
    if (aa && ab) {  // two segments between the same two points
        x = 0.5 * (a.ax + a.bx);
        y = 0.5 * (a.ay + a.by);
        return true;
    }
    if (aa || ab) {
        // Neighbours meet at their shared point; they overlap when they
        // leave it in the same direction.
        const double sx = aa ? a.ax : a.bx, sy = aa ? a.ay : a.by;
        const double ux = (aa ? a.bx : a.ax) - sx, uy = (aa ? a.by : a.ay) - sy;
        const bool b_shares_a = b.ia == (aa ? a.ia : a.ib);
        const double vx = (b_shares_a ? b.bx : b.ax) - sx, vy = (b_shares_a ? b.by : b.ay) - sy;
        const double scale = std::hypot(ux, uy) * std::hypot(vx, vy);
        if (!(ux * vx + uy * vy > 0.0 && std::fabs(ux * vy - uy * vx) <= kFoldSine * scale)) return false;
        x = sx;
        y = sy;
        return true;
    }
    // Parts of one edge a few tiny segments apart are neighbours too.
    if (a.edge == b.edge && std::min(std::fabs(b.sa - a.sb), std::fabs(a.sa - b.sb)) <= 2.0 * tol) return false;
    const double d1 = orient(a.ax, a.ay, a.bx, a.by, b.ax, b.ay);
    const double d2 = orient(a.ax, a.ay, a.bx, a.by, b.bx, b.by);
    const double d3 = orient(b.ax, b.ay, b.bx, b.by, a.ax, a.ay);
    const double d4 = orient(b.ax, b.ay, b.bx, b.by, a.bx, a.by);
    if (((d1 > 0.0 && d2 < 0.0) || (d1 < 0.0 && d2 > 0.0)) && ((d3 > 0.0 && d4 < 0.0) || (d3 < 0.0 && d4 > 0.0))) {
        const double t = d3 / (d3 - d4);
        x = a.ax + t * (a.bx - a.ax);
        y = a.ay + t * (a.by - a.ay);
        return true;
    }
    // Otherwise they come closest at an end point of one of them.
    const std::tuple<double, double, double> ends[4] = {
        {point_segment(a.ax, a.ay, b.ax, b.ay, b.bx, b.by), a.ax, a.ay},
        {point_segment(a.bx, a.by, b.ax, b.ay, b.bx, b.by), a.bx, a.by},
        {point_segment(b.ax, b.ay, a.ax, a.ay, a.bx, a.by), b.ax, b.ay},
        {point_segment(b.bx, b.by, a.ax, a.ay, a.bx, a.by), b.bx, b.by},
    };
    const auto& best = *std::min_element(std::begin(ends), std::end(ends),
                                         [](const auto& p, const auto& q) { return std::get<0>(p) < std::get<0>(q); });
    if (!(std::get<0>(best) <= tol)) return false;
    x = std::get<1>(best);
    y = std::get<2>(best);
    return true;
}

double seg_length(const segment& s) { return std::hypot(s.bx - s.ax, s.by - s.ay); }

std::string short_real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

}  // namespace

boundary_crossing find_boundary_crossing(const grid_record& grid) {
    boundary_crossing found;
    const polylines pl = build_polylines(grid);
    const std::vector<segment>& segs = pl.segs;
    if (segs.size() < 2) return found;
    const double extent = std::hypot(pl.xmax - pl.xmin, pl.ymax - pl.ymin);
    const double tol = kTouchShare * extent;

    // Cells about as large as a typical segment; a longer segment is cut
    // into pieces of at most a cell, so that each piece lies in at most
    // 2 x 2 cells and the pieces number at most five times the segments.
    std::vector<double> lengths;
    lengths.reserve(segs.size());
    double total = 0.0;
    for (const segment& s : segs) {
        lengths.push_back(seg_length(s));
        total += lengths.back();
    }
    std::nth_element(lengths.begin(), lengths.begin() + static_cast<long>(lengths.size() / 2), lengths.end());
    const double cell = std::max({lengths[lengths.size() / 2], total / (4.0 * static_cast<double>(segs.size())),
                                  4.0 * tol, 1e-300});
    const double x0 = pl.xmin - 2.0 * tol, y0 = pl.ymin - 2.0 * tol;
    const auto ny = static_cast<std::int64_t>((pl.ymax - y0 + 2.0 * tol) / cell) + 2;

    std::vector<std::pair<std::int64_t, int>> entries;  // (cell, segment)
    for (std::size_t i = 0; i < segs.size(); ++i) {
        const segment& s = segs[i];
        const auto pieces = static_cast<std::int64_t>(std::ceil(seg_length(s) / cell));
        for (std::int64_t k = 0; k < std::max<std::int64_t>(pieces, 1); ++k) {
            const double t0 = static_cast<double>(k) / static_cast<double>(std::max<std::int64_t>(pieces, 1));
            const double t1 = static_cast<double>(k + 1) / static_cast<double>(std::max<std::int64_t>(pieces, 1));
            const double px0 = s.ax + t0 * (s.bx - s.ax), px1 = s.ax + t1 * (s.bx - s.ax);
            const double py0 = s.ay + t0 * (s.by - s.ay), py1 = s.ay + t1 * (s.by - s.ay);
            const auto ix0 = static_cast<std::int64_t>((std::min(px0, px1) - tol - x0) / cell);
            const auto ix1 = static_cast<std::int64_t>((std::max(px0, px1) + tol - x0) / cell);
            const auto iy0 = static_cast<std::int64_t>((std::min(py0, py1) - tol - y0) / cell);
            const auto iy1 = static_cast<std::int64_t>((std::max(py0, py1) + tol - y0) / cell);
            for (std::int64_t ix = ix0; ix <= ix1; ++ix) {
                for (std::int64_t iy = iy0; iy <= iy1; ++iy) entries.push_back({ix * ny + iy, static_cast<int>(i)});
            }
        }
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());

    for (std::size_t g = 0; g < entries.size();) {
        std::size_t end = g;
        while (end < entries.size() && entries[end].first == entries[g].first) ++end;
        for (std::size_t i = g; i < end; ++i) {
            for (std::size_t j = i + 1; j < end; ++j) {
                const segment& a = segs[static_cast<std::size_t>(entries[i].second)];
                const segment& b = segs[static_cast<std::size_t>(entries[j].second)];
                const int ea = std::min(a.edge, b.edge), eb = std::max(a.edge, b.edge);
                if (found.found && std::make_pair(ea, eb) >= std::make_pair(found.edge_a, found.edge_b)) continue;
                double x = 0.0, y = 0.0;
                if (meet(a, b, tol, x, y)) found = {true, ea, eb, x, y};
            }
        }
        g = end;
    }
    return found;
}

void check_boundary_crossings(const grid_record& grid) {
    const boundary_crossing c = find_boundary_crossing(grid);
    if (!c.found) return;
    std::string where(1, '(');
    where += short_real(c.x);
    where += ", ";
    where += short_real(c.y);
    where += ')';
    const std::string what = c.edge_a == c.edge_b
                                 ? "edge " + std::to_string(c.edge_a) + " crosses, touches or overlaps itself at " + where
                                 : "edges " + std::to_string(c.edge_a) + " and " + std::to_string(c.edge_b) +
                                       " cross, touch or overlap at " + where;
    stop({ld_record({}), " *** Boundary " + what,
          " Boundary edges may meet only at the ends they share (a boundary vertex of both)."});
}

}  // namespace corvan
