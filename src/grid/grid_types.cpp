#include "grid/grid_types.hpp"

#include <deque>

#include "grid/list.hpp"

namespace corvan {

namespace {

// The record arena. std::deque never moves its elements, so the pointers
// handed out stay valid for the whole run.
struct Arena {
    std::deque<point> points;
    std::deque<simplex> simplices;
};

Arena& arena() {
    static Arena a;
    return a;
}

}  // namespace

point* new_point() { return &arena().points.emplace_back(); }

simplex* new_simplex() { return &arena().simplices.emplace_back(); }

long long points_made() { return static_cast<long long>(arena().points.size()); }

long long simplices_made() { return static_cast<long long>(arena().simplices.size()); }

namespace {

// Fresh, empty heads for the nine lists a grid or edge record holds.
template <class Record>
void make_heads(Record& r) {
    r.pnt_head = newhead_point();
    r.axp_head = newhead_point();
    r.add_head = newhead_point();
    r.rej_head = newhead_point();
    r.spx_head = newhead_simplex();
    r.axs_head = newhead_simplex();
    r.int_head = newhead_simplex();
    r.ext_head = newhead_simplex();
    r.stc_head = newhead_simplex();
}

}  // namespace

void edge_record::new_heads() { make_heads(*this); }

void grid_record::new_heads() { make_heads(*this); }

}  // namespace corvan
