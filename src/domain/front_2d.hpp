// Frontal refinement of the domain grid, with the Steiner points before the
// front and the corner splits after it.
//
// Simplex status during the stage:
//   0 external (all of ext_head, so that no cavity and no walk crosses the
//     boundary), 1 working triangle (spx_head), 2 accepted (int_head),
//   4 corner triangle already split in the current corner pass.
// The external triangles get their status 3 back at the end.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"

namespace corvan {

// Refines grid by at most nstep front steps; choice must be 0; dom is the
// open domain file positioned after the background points (Steiner points).
void front_grid(grid_record& grid, grid_record& back, int nstep, int choice, RecordReader& dom);

// State shared by front_grid and its inner routines.
struct FrontState {
    double max_length = 0.0;     // largest squared length of a too-long edge in the current acceptance pass
    int nadd = 0;                // points inserted in the current step (also by the corner stage)
    int nfro = 0;                // candidates made and located in the current step
    int step = 0;                // current front step, from 1
    grid_record* grid = nullptr; // the domain grid being refined
    grid_record* back = nullptr; // the background grid giving the spacing
    point* scratch = nullptr;    // scratch point of the metric interpolation (made once)
};
extern FrontState front;

// Construction choices of find_points.
enum : int {
    construct_frontal = 0,  // one candidate per front facet (frn_points)
};

// --- inner routines of front_grid; they act on `front` ----------------------
// Points every vertex of the grid's internal triangles (and its background
// twin) at a triangle containing it, to start later walks nearby. Warns about
// missing spx links; stops when a vertex has no background twin.
void adjust_spx();
// status := value for every simplex of the list.
void set_status(simplex* head, int value);
// Acceptance pass over spx_head: a triangle none of whose edges is longer
// than 1.5 times the mean spacing of its ends gets status 2 and moves to the
// top of int_head. With report, prints the share still not accepted.
void uns_split(bool report = false);
// choice 0: frn_points; any other value stops the program.
void find_points(int choice);
// One candidate on add_head for each front facet of every working triangle
// whose circumcentre lies on the inner side of the facet; nfro = count.
void frn_points();
// Inserts the candidates of add_head (far-point test); inserted ones go to
// pnt_head, the others to rej_head; nadd = count inserted.
void add_frn_points();
// Working triangles become accepted (status 2) and join int_head; external
// triangles get status 3 back.
void restore_lists();
// Reads the Steiner section of the domain file and inserts its points.
void steiner_points(RecordReader& dom);
// Marks and records the corner splits of int_head; nadd = count.
void crn_points();
// Inserts every point of add_head into int_head; nadd = count.
void add_crn_points();

}  // namespace corvan
