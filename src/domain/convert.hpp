// Numbering of list records and the deep copy of a grid record.
#pragma once

#include <vector>

#include "grid/grid_types.hpp"

namespace corvan {

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
// table(n + 1 ...) := the records of the list in order; n increased.
void set_i2p(int& n, point* head, std::vector<point*>& table);
void set_i2s(int& n, simplex* head, std::vector<simplex*>& table);
// Copies the records of the list into their copies found through the tables
// (tables are indexed by the source records' i, entry 0 unused).
void p_copy(point* head, const std::vector<point*>& ptab, const std::vector<simplex*>& stab,
            const std::vector<point*>& qtab);
void s_copy(simplex* head, int nd, const std::vector<point*>& ptab, const std::vector<simplex*>& stab,
            const std::vector<simplex*>& xtab);
// Deep copy of src into dst (dst->edge must hold at least src.n_edge records).
void g_copy(grid_record& src, grid_record& dst);

}  // namespace corvan
