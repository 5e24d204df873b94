// Delaunay kernel: simplex geometry, point location, the kernel's work lists
// and the coupling of boundary (nd = 1) and domain (nd = 2) grids.
#pragma once

#include <cstdint>

#include "grid/grid_types.hpp"

namespace corvan {

// Containment tolerance on barycentric coordinates.
inline constexpr double kBaryTol = 1e-12;
// The walk gives up after this many steps.
inline constexpr int kWalkMaxSteps = 100000;

// walking_search: mode on entry selects the status the walk never enters.
enum : int {
    walk_avoid_external = 0,  // never enter status 3 (background interpolation)
    walk_avoid_far = 1,       // never enter status 0 (point insertion)
};
// walking_search: mode on exit.
enum : int {
    walk_found = 1,     // spx is the containing simplex
    walk_outside = -1,  // the point lies beyond forbidden simplices
    walk_gave_up = 0,   // step limit reached; a warning was written
};

// The kernel's state: work lists and scratch arrays, shared by every call.
struct DelaunayState {
    simplex* bbl_head = nullptr;  // bubble: simplices around one point
    simplex* del_head = nullptr;  // cavity of the current insertion
    simplex* new_head = nullptr;  // simplices made by the current insertion
    simplex* gar_head = nullptr;  // deleted records kept for reuse
    Mat<double, 3, 3> matrix;     // factorisation scratch
    Vec<int, 3> pivot;            // pivots; also a short integer work list
    Vec<double, 3> vector;        // barycentric coordinates / hyperplane
};
extern DelaunayState kernel;

// --- geometry ---------------------------------------------------------------
// Sets fct (inverse of the homogeneous vertex matrix) and det of s.
void simplex_facets(int nd, simplex* s);
// simplex_facets on every simplex of the list, in list order.
void update_geometry(int nd, simplex* head);
// b(k) = barycentric coordinate of p for vertex k, k = 1..nd+1, from the stored fct.
void eval_facets(int nd, const point* p, const simplex* s, Vec<double, 3>& b);
// Hyperplane through the domain twins (ppp) of the nd vertices of boundary
// simplex bs: nrm(1..nd) x + nrm(nd+1) = 0, positive on the left.
void simplex_normal(int nd, const simplex* bs, Vec<double, 3>& nrm);

// --- location ---------------------------------------------------------------
// Creates the four empty work lists.
void delaunay_setup();
// First simplex of the list with status >= 1 containing p (fail = 0), or
// spx = null and fail = 1.
void trivial_search(int nd, simplex* head, const point* p, simplex*& spx, int& fail);
// Randomised walk from spx toward p; see the walk_* codes for mode.
void walking_search(int nd, const point* p, simplex*& spx, int& mode);
// Restarts the walk's random generator at its fixed seed (runs repeat exactly).
void reset_walk_random();

// --- insertion internals (insert_point / insert_far_point are in eucl_delaunay)
void delete_first(int nd, simplex* head, point* p, int& fail);
void delete_basis(int nd, point* p, simplex* s);
void delete_cavity(int nd, point* p);
void check_cavity(int nd, point* p, int& ok);
void update_topology(int nd, point* p);

// --- boundary and domain coupling --------------------------------------------
// Bounding simplex of the box a..b and its far simplices.
void set_delaunay(int nd, const Vec<double, 2>& a, const Vec<double, 2>& b, point* phead, simplex* fhead,
                  simplex* shead);
void build_bubble(int nd, simplex* head, point* p);
void match_bubble_ndm1(int nd, const simplex* bs, simplex* head, simplex*& s1, simplex*& s2);
void swap_ie_ndm1(int nd, const simplex* bs, simplex*& s1, simplex*& s2);
void flag_shell(int nd, simplex* bhead, simplex* dhead, simplex* uhead);
void split_ie(int nd, simplex* head, simplex* ihead, simplex* ehead);
void split_ie_1d(int nd, simplex* head, simplex* ihead, simplex* ehead);
void merge_ie(simplex* head, simplex* ihead, simplex* ehead);

}  // namespace corvan
