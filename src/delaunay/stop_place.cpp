#include "delaunay/stop_place.hpp"

#include <cstdio>
#include <cstdlib>

namespace corvan {

namespace {

// Enough digits to tell apart the points of a fine grid far from the origin.
std::string coordinate(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.12g", v);
    return buf;
}

// The corner of a far simplex may be missing.
std::string pair_text(const point* p) {
    if (p == nullptr) return "(none)";
    std::string t(1, '(');
    t += coordinate(p->x(1));
    t += ", ";
    t += coordinate(p->x(2));
    t += ')';
    return t;
}
std::string parameter(const point* p) { return p == nullptr ? "(none)" : coordinate(p->x(1)); }

}  // namespace

std::string point_place(int nd, const point* p) {
    std::string text = nd == 1 ? "the point at curve parameter " + coordinate(p->x(1)) : "the point " + pair_text(p);
    if (p->edge != 0) text += " of edge " + std::to_string(std::abs(p->edge));
    return text;
}

std::string simplex_place(int nd, const simplex* s) {
    if (nd == 1) {
        return "the segment from curve parameter " + parameter(s->opp(1).pnt) + " to " + parameter(s->opp(2).pnt);
    }
    return "the triangle " + pair_text(s->opp(1).pnt) + ", " + pair_text(s->opp(2).pnt) + ", " +
           pair_text(s->opp(3).pnt);
}

std::string coincidence_note(int nd, const simplex* s) {
    for (int a = 1; a <= nd + 1; ++a) {
        for (int b = a + 1; b <= nd + 1; ++b) {
            const point* p = s->opp(a).pnt;
            const point* q = s->opp(b).pnt;
            if (p != nullptr && q != nullptr && p->x(1) == q->x(1) && (nd == 1 || p->x(2) == q->x(2))) {
                return "; two of its corners coincide at " +
                       (nd == 1 ? "curve parameter " + coordinate(p->x(1)) : pair_text(p)) +
                       ", where boundary edges touch or overlap";
            }
        }
    }
    return "";
}

}  // namespace corvan
