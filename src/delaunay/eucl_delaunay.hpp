// Euclidean measures of the Delaunay kernel and its two insertion entry points.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// Scratch of the Euclidean measures, shared by every call.
struct EuclState {
    Vec<double, 3> center;     // circumcentre of the last delaunay_measure
    Vec<double, 3> vector;     // difference vector of segment_r_length
};
extern EuclState eucl;

// Squared Euclidean distance between p1 and p2 (no root is taken).
double segment_length(int nd, const point* p1, const point* p2);
// Metric length of p1-p2: mean of its lengths in the metrics of both ends.
double segment_r_length(int nd, const point* p1, const point* p2);
// Circumcentre q(1..nd) and mean squared circumradius r2.
void simplex_center(int nd, const simplex* s, Vec<double, 3>& q, double& r2);
// (squared distance from p to the circumcentre) / (mean squared circumradius).
double delaunay_measure(int nd, const point* p, const simplex* s);

// Inserts p into the grid whose live simplices are in head; stops on failure.
// near (optional) speeds up locating a p without ref: see delete_first.
void insert_point(int nd, simplex* head, point* p, const point* near = nullptr);
// Inserts p unless it cannot be located or a cavity vertex lies closer than
// p->h / 2; inserted = 1 if it did, else 0 and the grid is unchanged.
void insert_far_point(int nd, simplex* head, point* p, int& inserted, const point* near = nullptr);

}  // namespace corvan
