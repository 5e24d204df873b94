// The records every grid is made of: points, simplices, the grid record and
// its edge records. Records live in an arena for the whole run and are never
// released; pointers between them are plain non-owning links.
#pragma once

#include <cstdint>
#include <utility>

#include "grid/one_based.hpp"

namespace corvan {

struct point;
struct simplex;

// Simplex status codes. A negative status is a temporary visit mark.
enum : int {
    st_far = 0,        // far simplex closing a grid around its bounding simplex
    st_undefined = 1,  // live, not yet classified (default of a new simplex)
    st_internal = 2,   // inside the domain
    st_external = 3,   // outside the domain
    st_stitch = 4,     // taken for splitting by the corner stage
};

// The ellipse of a point's metric. Only boundary twins, background points and
// the metric plots use one, so it is kept beside the point records.
struct ellipse_record {
    Vec<double, 2> axis;  // semi-axes of the metric ellipse
    double teta = 0.0;    // angle of the ellipse's first axis, radians
};

// A vertex. In a boundary grid only x(1) is used: the curve parameter.
struct point {
    int i = 0;            // running index set by numbering; 0: not numbered
    int edge = 0;         // boundary edge it lies on; negated at an edge's end points; 0 inside
    int parent = 0;       // index of the simplex it was made in; 0: none
    int ell = 0;          // slot of its ellipse record in the arena; 0: none yet
    double h = 0.0;       // target spacing at the point
    point* prev = nullptr;  // list link toward the bottom
    point* next = nullptr;  // list link toward the top; iteration follows next
    point* ref = nullptr;   // a point of the same grid near which this one was made
    point* ppp = nullptr;   // twin in another grid
    simplex* spx = nullptr; // one simplex having this point as a vertex
    Vec<double, 2> x;       // coordinates
    Mat<double, 2, 2> mtr = Mat<double, 2, 2>::identity();  // metric tensor

    point() = default;
    point(const point&) = delete;
    point& operator=(const point&) = delete;

    // The point's ellipse, made (all zero) on first use; it stays at its
    // address for the whole run.
    ellipse_record& ellipse();
    // The point's ellipse, or an all-zero one when none was made.
    const ellipse_record& ellipse() const;
};

// Vertex k and the neighbour across the facet opposite vertex k.
struct facet_link {
    point* pnt = nullptr;
    simplex* spx = nullptr;
};

//                 3
//                / \         opp(k).pnt  = vertex k
//   opp(2).spx  /   \  opp(1).spx       opp(k).spx  = neighbour across the
//              /     \                                facet opposite vertex k
//             1-------2      counter-clockwise 1, 2, 3 gives det > 0
//               opp(3).spx
//
// cmat(k,k): local number, inside neighbour k, of its vertex opposite the
// shared facet; cmat(k,j), j != k: local number inside neighbour k of this
// simplex's vertex j. A boundary segment uses vertices and neighbours 1..2.
// Local numbers and status codes are small: they take one byte each, and
// the side links only boundary segments have are kept beside the records,
// so that a simplex takes 152. (The determinant of the vertex matrix is not
// kept: simplex_det computes it.)
struct simplex {
    int i = 0;                       // running index; 0: not numbered
    std::int8_t status = st_undefined;  // status code
    std::uint8_t cavity = 0;         // role in the cavity the kernel is building; 0 outside an insertion
    Mat<std::int8_t, 3, 3> cmat;     // connectivity matrix
    bool has_sides = false;          // side links are stored for it
    simplex* prev = nullptr;         // list link toward the bottom
    simplex* next = nullptr;         // list link toward the top
    Mat<double, 3, 3> fct;           // facet equations (row k: barycentric coordinate k)
    Vec<facet_link, 3> opp;          // vertices and neighbours

    simplex() = default;
    simplex(const simplex&) = delete;
    simplex& operator=(const simplex&) = delete;

    // Boundary segment: the domain triangle on its internal / external side
    // (null: none).
    simplex* int_spx() const { return has_sides ? stored_sides().first : nullptr; }
    simplex* ext_spx() const { return has_sides ? stored_sides().second : nullptr; }
    // Links the segment to the triangles on its two sides; null, null forgets them.
    void set_sides(simplex* int_side, simplex* ext_side) {
        if (int_side != nullptr || ext_side != nullptr || has_sides) store_sides(int_side, ext_side);
    }

private:
    const std::pair<simplex*, simplex*>& stored_sides() const;
    void store_sides(simplex* int_side, simplex* ext_side);
};

// A fresh record with every field at its default, owned by the arena.
point* new_point();
simplex* new_simplex();

// Number of records made so far (list heads included).
long long points_made();
long long simplices_made();

// One boundary edge of the problem.
struct edge_record {
    int icurv = 0;    // curve the edge lies on
    int ndata = 0;    // number of spacing data points
    int vbeg = 0;     // boundary vertex where the edge begins
    int vend = 0;     // boundary vertex where it ends (= vbeg: closed edge)
    int kind = 0;     // kind of spacing data; 0: isotropic
    int reverse = 0;  // 1 would reverse the tangent used by kind 2
    Array1<int> idata;      // law of spacing on the interval ending at data point j
    Array1<double> sdata;   // position of data point j along the curve, in [0, 1]
    Array2<double> hdata;   // 3 x ndata: (length 1, length 2, angle) at data point j
    point* pnt_head = nullptr;
    point* axp_head = nullptr;
    point* add_head = nullptr;
    point* rej_head = nullptr;
    simplex* spx_head = nullptr;
    simplex* axs_head = nullptr;
    simplex* int_head = nullptr;
    simplex* ext_head = nullptr;
    simplex* stc_head = nullptr;

    // Gives the edge fresh, empty list heads.
    void new_heads();
};

// A whole grid: the domain lists and one edge record per boundary edge.
struct grid_record {
    int n_vert = 0;              // number of boundary vertices
    int n_edge = 0;              // number of boundary edges
    Array1<point*> vert;         // vertex point of each boundary vertex
    Array1<edge_record> edge;    // the boundary edges, 1..n_edge
    point* pnt_head = nullptr;   // inserted points
    point* axp_head = nullptr;   // corners of the bounding simplex
    point* add_head = nullptr;   // points waiting for insertion
    point* rej_head = nullptr;   // points that failed insertion, for reuse
    simplex* spx_head = nullptr; // working list of new simplices
    simplex* axs_head = nullptr; // far simplices
    simplex* int_head = nullptr; // internal simplices
    simplex* ext_head = nullptr; // external simplices
    simplex* stc_head = nullptr; // stitch segments

    // Gives the grid record fresh, empty list heads.
    void new_heads();
};

}  // namespace corvan
