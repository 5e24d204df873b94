// Node and element arrays of the finished grid. The linked records of the
// grid are numbered (domain nodes in pnt_head order, domain elements in
// int_head order, boundary nodes and elements edge by edge) and copied into
// plain 1-based arrays that smoothing and the mesh files work on.
#pragma once

#include "grid/grid_types.hpp"
#include "grid/one_based.hpp"

namespace corvan {

// State of the arrays module: the numbered grid as arrays. Indices: e a
// domain element, p a domain node, k a boundary element, n a boundary node.
struct ArraysState {
    grid_record* array = nullptr;  // grid the arrays were built from; null: no arrays yet
    int np_d = 0;                  // domain nodes: points of grid.pnt_head
    int ns_d = 0;                  // domain elements: triangles of grid.int_head
    int np_b = 0;                  // boundary nodes: points of all edges' pnt_head lists
    int ns_b = 0;                  // boundary elements: segments of all edges' int_head lists
    Array2<int> jj;                // 3 x ns_d: domain node of vertex m of e; 0: missing
    Array2<int> neigh;             // 3 x ns_d: element across the side opposite vertex m; 0: none or external
    Array2<double> rr;             // 2 x np_d: coordinates of p
    Array1<double> hh;             // np_d: target spacing the grid aimed for at p (its h)
    Array2<int> jjs_b;             // 2 x ns_b: boundary nodes of the ends of k; 0: missing
    Array2<int> jjs;               // 2 x ns_b: domain nodes of the ends of k (their twins)
    Array2<int> neighs_b;          // 2 x ns_b: boundary element sharing the end opposite end m; 0 at edge ends
    Array1<int> neighs;            // ns_b: internal triangle bordering k; 0: none
    Array1<int> iflux;             // ns_b: edge index of k
    Array1<int> idir;              // np_b: edge field of n (negative at an edge's first and last node)
    Array1<int> jjdir;             // np_b: domain node of n (its twin's number)
    Array2<double> rr_b;           // 1 x np_b: curve parameter of n
};

extern ArraysState arrays;

// Numbers grid (domain points and internal triangles from 1, external
// triangles 0, boundary points and segments from 1 edge by edge), remembers
// it in arrays.array and rebuilds every array of the module. Safe to call
// again: an unchanged grid gives identical arrays.
void build_arrays(grid_record& grid);

// Fill routines of build_arrays; the records must already be numbered and
// the arrays allocated with the counts of that numbering.
// rr and hh at each point's number.
void p_vect_domain(point* head);
// jj and neigh at each triangle's number; a missing vertex is warned about and gives 0.
void s_vect_domain(simplex* head);
// idir, jjdir, rr_b for nodes counter + 1, counter + 2, ...; counter is advanced.
void p_vect_boundary(point* head, int& counter);
// iflux, neighs, jjs_b, jjs, neighs_b for elements counter + 1, ...; counter
// is advanced. A segment without internal triangle is warned about (neighs 0).
// Clears the index of the segment beyond an edge end point, so the boundary
// connectivity is cut there.
void s_vect_boundary(simplex* head, int edge_index, int& counter);

}  // namespace corvan
