#include "boundary/size_estimate.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "boundary/boundary_2d.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

// Triangles per unit of the integral of 1/h^2: an equilateral triangle of
// side h covers sqrt(3)/4 h^2.
const double kTrianglesPerArea = 4.0 / std::sqrt(3.0);

bool usable(double h) { return h > 0.0 && std::isfinite(h); }

// (ln b - ln a) / (b - a), exact in the limit b -> a.
double log_slope(double a, double b) { return b == a ? 1.0 / a : std::log1p((b - a) / a) / (b - a); }

// The integral of 1/h^2 over a triangle of the given area when h runs
// linearly between its corners' values: 2 area times the second divided
// difference of -ln h.
double inverse_square_integral(double area, double h1, double h2, double h3) {
    double h[3] = {h1, h2, h3};
    std::sort(h, h + 3);
    if (h[2] - h[0] <= 1e-3 * h[2]) return area / (h[0] * h[2]);  // near-constant: the divided difference cancels
    return 2.0 * area * (log_slope(h[0], h[1]) - log_slope(h[1], h[2])) / (h[2] - h[0]);
}

// A count as the messages give it: whole below a million, else 3 digits.
std::string count_text(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, v < 1e6 ? "%.0f" : "%.3g", v);
    return buf;
}

std::string short_real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

std::string finest_place(const size_estimate& est) {
    if (est.finest_edge > 0) {
        return "on edge " + std::to_string(est.finest_edge) + " (its spacing data point " +
               std::to_string(est.finest_data) + ")";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%.9g, %.9g)", est.finest_x, est.finest_y);
    return std::string("at the background point ") + buf;
}

}  // namespace

size_estimate estimate_boundary(const grid_record& g) {
    size_estimate est;
    Array1<double> L;
    for (int e = 1; e <= g.n_edge; ++e) {
        metric_r_1d(e, g, L);
        est.boundary_points += L(L.size()) + 1.0;
        const edge_record& ed = g.edge(e);
        for (int k = 1; k <= ed.ndata; ++k) {
            const double h = ed.kind == 0 ? ed.hdata(1, k) : std::min(ed.hdata(1, k), ed.hdata(2, k));
            if (h < est.finest_h) {
                est.finest_h = h;
                est.finest_edge = e;
                est.finest_data = k;
            }
        }
    }
    return est;
}

void estimate_triangles(const grid_record& back, size_estimate& est) {
    double integral = 0.0;
    for (const simplex* s = back.int_head->next; s != back.int_head; s = s->next) {
        const point* a = s->opp(1).pnt;
        const point* b = s->opp(2).pnt;
        const point* c = s->opp(3).pnt;
        if (a == nullptr || b == nullptr || c == nullptr || !usable(a->h) || !usable(b->h) || !usable(c->h)) continue;
        const double area =
            0.5 * std::fabs((b->x(1) - a->x(1)) * (c->x(2) - a->x(2)) - (b->x(2) - a->x(2)) * (c->x(1) - a->x(1)));
        integral += inverse_square_integral(area, a->h, b->h, c->h);
        // Background points are the corners off the boundary.
        for (const point* p : {a, b, c}) {
            if (p->edge == 0 && p->h < est.finest_h) {
                est.finest_h = p->h;
                est.finest_edge = 0;
                est.finest_x = p->x(1);
                est.finest_y = p->x(2);
            }
        }
    }
    est.triangles = kTrianglesPerArea * integral;
}

void check_size(const size_estimate& est, double max_triangles, bool report) {
    const bool counted = est.triangles > 0.0;
    if (report) {
        say_line(" Estimate from the spacing: " + count_text(est.boundary_points) + " boundary points" +
                 (counted ? ", " + count_text(est.triangles) + " triangles" : ""));
    }
    const std::string limit = count_text(max_triangles) + " triangles (--max-triangles)";
    const std::string finest = " The smallest spacing, " + short_real(est.finest_h) + ", is given " + finest_place(est) + ".";
    if (est.boundary_points > max_triangles) {
        stop({" The boundary alone would get about " + count_text(est.boundary_points) +
                  " points (estimated from the spacing), more than a grid of at most " + limit + " can have.",
              finest});
    }
    if (est.triangles > max_triangles) {
        stop({" The grid would have about " + count_text(est.triangles) +
                  " triangles (estimated from the spacing), more than the limit of " + limit + ".",
              finest});
    }
}

}  // namespace corvan
