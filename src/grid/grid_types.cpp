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

void edge_record::new_heads() {
    pnt_head = newhead_point();
    axp_head = newhead_point();
    add_head = newhead_point();
    rej_head = newhead_point();
    spx_head = newhead_simplex();
    axs_head = newhead_simplex();
    int_head = newhead_simplex();
    ext_head = newhead_simplex();
    stc_head = newhead_simplex();
}

void grid_record::new_heads() {
    pnt_head = newhead_point();
    axp_head = newhead_point();
    add_head = newhead_point();
    rej_head = newhead_point();
    spx_head = newhead_simplex();
    axs_head = newhead_simplex();
    int_head = newhead_simplex();
    ext_head = newhead_simplex();
    stc_head = newhead_simplex();
}

}  // namespace corvan
