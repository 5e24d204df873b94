// Delaunay kernel: simplex geometry, point location, the kernel's work lists
// and the coupling of boundary (nd = 1) and domain (nd = 2) grids.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

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

// Seed of the walk's random generator; reset_walk_random() returns to it.
inline constexpr std::uint32_t kWalkSeed = 2463534242u;

// The kernel's state: work lists and scratch arrays, shared by every call.
struct DelaunayState {
    simplex* bbl_head = nullptr;  // bubble: simplices around one point
    simplex* del_head = nullptr;  // cavity of the current insertion
    simplex* new_head = nullptr;  // simplices made by the current insertion
    simplex* gar_head = nullptr;  // deleted records kept for reuse
    Vec<int, 3> pivot;            // the facets a walk may cross next
    Vec<double, 3> vector;        // barycentric coordinates / hyperplane
    std::uint32_t walk_random = kWalkSeed;  // state of the walk's xorshift generator
    std::uint32_t near_random = kWalkSeed;  // the same for the walks from a near point (delete_first)
    double extent = 0.0;          // largest |coordinate| of any bounding simplex made: every grid lies within
    std::vector<simplex*> grown;    // cavity candidates in order of admission (basis first)
    std::vector<simplex*> touched;  // every simplex given a cavity role by the current insertion
    std::vector<simplex*> recheck;  // members to test again for visibility after a neighbour left
    // Boundary facets of the cavity at each of its vertices: an open-addressing
    // table (vertex, count), built only when the inner-vertex test needs it.
    std::vector<std::pair<const point*, int>> tally;
};
extern DelaunayState kernel;

// --- geometry ---------------------------------------------------------------
// Sets fct of s: the inverse of its homogeneous vertex matrix.
void simplex_facets(int nd, simplex* s);
// Determinant of the homogeneous vertex matrix of s: twice the signed area
// of a triangle (positive when counter-clockwise); for a segment, x of
// vertex 1 less x of vertex 2.
double simplex_det(int nd, const simplex* s);
// simplex_facets on every simplex of the list, in list order.
void update_geometry(int nd, simplex* head);
// b(k) = barycentric coordinate of p for vertex k, k = 1..nd+1, from the stored fct.
void eval_facets(int nd, const point* p, const simplex* s, Vec<double, 3>& b);
// Barycentric coordinate k of (x1, x2) in triangle s, from the stored fct but
// summed as (f1 x1 + f2 x2) + f3: the rounding the background spacing and the
// front's candidates are built on (eval_facets adds the constant first).
inline double facet_value(const simplex* s, int k, double x1, double x2) {
    return s->fct(k, 1) * x1 + s->fct(k, 2) * x2 + s->fct(k, 3);
}
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

// Near starts for locating many points in no particular order: a coarse grid
// of cells over a box, each keeping the last point added in it.
class NearPoints {
public:
    // Cells over the box lo..hi, about one per four of the n points expected.
    NearPoints(const Vec<double, 2>& lo, const Vec<double, 2>& hi, int n);
    // The point kept in the cell of p (clamped into the box); when that cell
    // is empty, one of the cells around it, else the last point added (null
    // before the first).
    const point* near(const point* p) const;
    // p, now connected, becomes its cell's point.
    void add(const point* p);

private:
    int cell_of(const point* p) const;
    Vec<double, 2> lo_;
    Vec<double, 2> scale_;  // cells per unit length along x and y
    int nx_ = 1;
    int ny_ = 1;
    std::vector<const point*> cells_;
    const point* last_ = nullptr;
};

// --- insertion internals (insert_point / insert_far_point are in eucl_delaunay)
// Locates p and starts the cavity with delete_basis; fail = 1 when p lies
// outside the searchable grid. With a connected ref, a walk from ref's simplex.
// Without ref but given near (a connected point of the same grid whose walks
// reach only simplices of head or far ones), a walk from near's simplex, taken
// when it ends clearly inside a simplex. Otherwise the scan of head, which the
// near walk never contradicts.
void delete_first(int nd, simplex* head, point* p, int& fail, const point* near = nullptr);
// Puts s (containing p) into the cavity, with the first neighbour that also contains p.
void delete_basis(int nd, point* p, simplex* s);
// Grows the cavity by the in-circle criterion, keeping it star-shaped from p
// and every one of its vertices on its boundary. Leaves members with positive
// status and their outside neighbours marked (status <= 0). Costs in
// proportion to the cavity and its outside neighbours.
void delete_cavity(int nd, point* p);
// ok = 0 (and the outside marks cleared) when a cavity vertex lies closer
// than p->h / 2 to p, else 1.
void check_cavity(int nd, point* p, int& ok);
// Joins p to every boundary facet of the cavity; the new simplices go to new_head.
void update_topology(int nd, point* p);

// --- boundary and domain coupling --------------------------------------------
// Bounding simplex of the box a..b and its far simplices.
void set_delaunay(int nd, const Vec<double, 2>& a, const Vec<double, 2>& b, point* phead, simplex* fhead,
                  simplex* shead);
// Moves into head (empty) every live simplex around p reached from p->spx
// through facets; the caller puts them back. Stops when p->spx is not set.
void build_bubble(int nd, simplex* head, point* p);
// s1, s2 = first and second simplex of the list having the twins of all nd
// vertices of boundary segment bs among their vertices (null when missing).
void match_bubble_ndm1(int nd, const simplex* bs, simplex* head, simplex*& s1, simplex*& s2);
// Exchanges s1 and s2 when s1 lies left of bs (the external side); s2 must
// be a neighbour of s1.
void swap_ie_ndm1(int nd, const simplex* bs, simplex*& s1, simplex*& s2);
// Flags the triangle right of every boundary segment internal (2), the one
// left external (3); segments whose edge is missing move to uhead.
void flag_shell(int nd, simplex* bhead, simplex* dhead, simplex* uhead);
// Floods status 2 from the seeds over status-1 simplices and splits head
// into ihead (internal) and ehead (external).
void split_ie(int nd, simplex* head, simplex* ihead, simplex* ehead);
// Splits an edge grid: segments touching a far simplex are external.
void split_ie_1d(int nd, simplex* head, simplex* ihead, simplex* ehead);
// When head is empty: joins ihead, then ehead, onto it and resets statuses to 1.
void merge_ie(simplex* head, simplex* ihead, simplex* ehead);

}  // namespace corvan
