// Circular doubly linked lists of points or simplices, each anchored by a
// head record of the same type. Records change role only by moving between
// lists; nothing is ever deleted. Iteration: from H->next along next until
// H comes back; code that moves the current record saves its next first.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// A new empty list: a head record linked to itself.
point* newhead_point();
simplex* newhead_simplex();

// R becomes the top (just after H) / the bottom (just before H).
void pushtop_point(point* h, point* r);
void pushtop_simplex(simplex* h, simplex* r);
void pushbot_point(point* h, point* r);
void pushbot_simplex(simplex* h, simplex* r);

// Unlinks R from its list. Stops the program on a record that was never in
// a list ("unlinked") or that is linked only to itself ("list is empty").
void extract_point(point* r);
void extract_simplex(simplex* r);

// extract, then pushtop / pushbot.
void movetop_point(point* h, point* r);
void movetop_simplex(simplex* h, simplex* r);
void movebot_point(point* h, point* r);
void movebot_simplex(simplex* h, simplex* r);

// Moves every record of H2 to the top / bottom of H1 in order; H2 ends empty.
void jointop_point(point* h1, point* h2);
void jointop_simplex(simplex* h1, simplex* h2);
void joinbot_point(point* h1, point* h2);
void joinbot_simplex(simplex* h1, simplex* h2);

// Number of records in the list (the head not counted).
int numberof_point(const point* h);
int numberof_simplex(const simplex* h);

// Top / bottom record, or the head itself when the list is empty.
point* poptop_point(point* h);
simplex* poptop_simplex(simplex* h);
point* popbot_point(point* h);
simplex* popbot_simplex(simplex* h);

inline bool empty_list(const point* h) { return h->next == h; }
inline bool empty_list(const simplex* h) { return h->next == h; }

}  // namespace corvan
