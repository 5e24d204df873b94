// Numbering of list records and the deep copy of a grid record.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// The number a record was given, 0 for a missing record.
inline int index_of(const point* p) { return p == nullptr ? 0 : p->i; }
inline int index_of(const simplex* s) { return s == nullptr ? 0 : s->i; }

// Numbers the records of the list consecutively from n + 1 into their i; n
// is returned increased by the list length.
void set_p2i(int& n, point* head);
void set_s2i(int& n, simplex* head);
// Sets i = 0 for every record of the list.
void clr_p2i(point* head);
void clr_s2i(simplex* head);
// Replaces head by a new list of n fresh records.
void p_list(int n, point*& head);
void s_list(int n, simplex*& head);
// table(n + 1), table(n + 2), ... := the records of the list in order; n increased.
// The table must already hold enough entries.
void set_i2p(int& n, point* head, Array1<point*>& table);
void set_i2s(int& n, simplex* head, Array1<simplex*>& table);
// Copies the records of the list into their copies found through the tables
// (tables are indexed 1..n by the source records' i).
void p_copy(point* head, const Array1<point*>& ptab, const Array1<simplex*>& stab,
            const Array1<point*>& qtab);
void s_copy(simplex* head, int nd, const Array1<point*>& ptab, const Array1<simplex*>& stab,
            const Array1<simplex*>& xtab);
// Deep copy of src into dst (dst->edge must hold at least src.n_edge records).
void g_copy(grid_record& src, grid_record& dst);

}  // namespace corvan
