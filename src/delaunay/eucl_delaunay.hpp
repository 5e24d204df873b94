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
// warned (optional) is set when the nearly singular system was warned about.
double delaunay_measure(int nd, const point* p, const simplex* s, bool* warned = nullptr);

// Inserts p into the grid whose live simplices are in head; stops on failure.
// near (optional) speeds up locating a p without ref: see delete_first.
void insert_point(int nd, simplex* head, point* p, const point* near = nullptr);
// Inserts p unless it cannot be located or a cavity vertex lies closer than
// p->h / 2; inserted = 1 if it did, else 0 and the grid is unchanged.
void insert_far_point(int nd, simplex* head, point* p, int& inserted, const point* near = nullptr);
// Inserts the points waiting in add, in list order; each inserted point moves
// to the top of pnt and is where the next one without ref is looked for (the
// near of delete_first, whose condition on head then applies). Without rej every point goes in (insert_point); with rej the
// far-point test applies (insert_far_point) and a declined point moves to
// the top of rej. Returns the number inserted.
int insert_list(int nd, point* add, simplex* head, point* pnt, point* rej = nullptr);
// Inserts p where it stands, whatever its spacing: insert_far_point with
// p->h shrunk to share * p->h, so that only a point outside the grid, on a
// vertex or (almost) on a boundary facet of its cavity is declined. When the
// walk from p->ref declines it, a scan of head tries again (walls may stop a
// walk). p->h and p->ref are left as they were; inserted as insert_far_point.
void insert_fixed_point(int nd, simplex* head, point* p, double share, int& inserted, const point* near = nullptr);

}  // namespace corvan
