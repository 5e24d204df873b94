#include "domain/front_2d.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "check/check_grid.hpp"
#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "domain/back_2d.hpp"
#include "domain/refine_2d.hpp"
#include "grid/list.hpp"
#include "metric/metric_2d.hpp"

namespace corvan {

FrontState front;

namespace {

// An edge is too long when it exceeds this factor times the sum of the
// spacings of its ends (1.5 times their mean).
constexpr double kAcceptFactor = 0.75;

// Vertex pairs of the acceptance test, in the order they are tried.
constexpr int kPairs[3][2] = {{1, 2}, {1, 3}, {2, 3}};

// A Steiner point closer to a vertex than this share of its spacing is taken
// as lying on the vertex.
constexpr double kSteinerCoincident = 1e-9;

// Status of a located background triangle: eval_back reports success with 0.
constexpr int kLocated = 0;

// A point record for a new candidate: the first rejected record, moved to the
// top of add_head, or a fresh record pushed there when none is waiting. A
// reused record keeps its other fields until they are set again.
point* take_candidate_record(grid_record& grid) {
    if (!empty_list(grid.rej_head)) {
        point* p = poptop_point(grid.rej_head);
        movetop_point(grid.add_head, p);
        return p;
    }
    point* p = new_point();
    pushtop_point(grid.add_head, p);
    return p;
}

// True when the edge a-b fails the acceptance test; len2 is its squared length.
bool too_long(const point* a, const point* b, double& len2) {
    len2 = segment_length(2, a, b);
    const double lim = kAcceptFactor * (a->h + b->h);
    return len2 > lim * lim;
}

}  // namespace

void set_status(simplex* head, int value) {
    for (simplex* s = head->next; s != head; s = s->next) s->status = value;
}

void adjust_spx() {
    grid_record& grid = *front.grid;
    simplex* bhead = front.back->int_head;
    simplex* b = bhead->next;
    for (simplex* s = grid.int_head->next; s != grid.int_head; s = s->next) {
        // The background list is normally the longer one (it holds the same
        // triangles plus those of the background points); should it run out,
        // the pairing starts again from its top rather than handing out the
        // list head, which is no triangle.
        if (b == bhead) b = bhead->next;
        for (int k = 1; k <= 3; ++k) {
            point* p = s->opp(k).pnt;
            if (p->spx == nullptr) {
                say({"pnt%spx not associated? (adjust_spx)"});
            } else {
                p->spx = s;
            }
            if (p->ppp == nullptr) {
                stop({"grid point without background twin: are the boundary sides traversed "
                         "in the wrong direction? (adjust_spx)"});
            }
            if (p->ppp->spx == nullptr) {
                say({"pnt%ppp%spx not associated? (adjust_spx)"});
            } else if (b != bhead) {
                p->ppp->spx = b;
            }
        }
        if (b != bhead) b = b->next;
    }
}

void uns_split(bool report) {
    grid_record& grid = *front.grid;
    front.max_length = 0.0;
    simplex* s = grid.spx_head->next;
    while (s != grid.spx_head) {
        simplex* nxt = s->next;
        bool accepted = true;
        for (const auto& pr : kPairs) {
            double len2 = 0.0;
            if (too_long(s->opp(pr[0]).pnt, s->opp(pr[1]).pnt, len2)) {
                if (len2 > front.max_length) front.max_length = len2;
                accepted = false;
                break;
            }
        }
        if (accepted) {
            s->status = st_internal;
            movetop_simplex(grid.int_head, s);
        }
        s = nxt;
    }
    if (!report) return;
    const int n1 = numberof_simplex(grid.spx_head);
    const int n3 = numberof_simplex(grid.int_head);
    if (n1 != 0) {
        static const Format fmt("('*** not accepted',1x,i8,1x,a2,1x,f5.2,1x,a1)");
        const double pct = 100.0 * static_cast<double>(n1) / static_cast<double>(n1 + n3);
        say_fmt(fmt, {n1, "->", pct, "%"});
    }
}

void frn_points() {
    grid_record& grid = *front.grid;
    int count = 0;
    for (simplex* s = grid.spx_head->next; s != grid.spx_head; s = s->next) {
        Vec<double, 3> z;
        double r2 = 0.0;
        simplex_center(2, s, z, r2);
        const double sum_h = s->opp(1).pnt->h + s->opp(2).pnt->h + s->opp(3).pnt->h;
        for (int i = 1; i <= 3; ++i) {
            // A facet between two working triangles is not on the front.
            const simplex* nb = s->opp(i).spx;
            if (nb != nullptr && nb->status == st_undefined) continue;
            // The candidate goes toward vertex i, so the circumcentre must lie
            // on that side of the facet.
            const double l = facet_value(s, i, z(1), z(2));
            if (l <= 0.0) continue;
            const double g = s->fct(i, 1) * s->fct(i, 1) + s->fct(i, 2) * s->fct(i, 2);
            const double hf = 0.5 * (sum_h - s->opp(i).pnt->h);
            const double x = hf * hf - (r2 - l * l / g);
            // Distance hf from both facet ends, but never beyond the
            // circumcentre (a facet longer than 2 hf gets the circumcentre).
            double t = 0.0;
            if (x >= 0.0) {
                t = l / g - std::sqrt(x / g);
                if (t < 0.0) t = 0.0;
            }
            point* p = take_candidate_record(grid);
            p->x(1) = z(1) - t * s->fct(i, 1);
            p->x(2) = z(2) - t * s->fct(i, 2);
            p->ref = s->opp(i % 3 + 1).pnt;
            simplex* found = nullptr;
            int flag = 0;
            eval_back(p, front.back->int_head, found, flag);
            if (flag != kLocated) {
                say({"Research failed!"});
                say({"Point will not be inserted (frn_points)"});
                movetop_point(grid.rej_head, p);
                break;
            }
            ++count;
        }
    }
    front.nfro = count;
}

void find_points(int choice) {
    if (choice == construct_frontal) {
        frn_points();
        return;
    }
    stop(std::vector<std::string>{ld_record({"BAD OPTION: no construct with choice", choice})});
}

void add_frn_points() {
    grid_record& grid = *front.grid;
    front.nadd = insert_list(2, grid.add_head, grid.spx_head, grid.pnt_head, grid.rej_head);
}

void restore_lists() {
    grid_record& grid = *front.grid;
    set_status(grid.spx_head, st_internal);
    set_status(grid.ext_head, st_external);
    if (!empty_list(grid.spx_head)) jointop_simplex(grid.int_head, grid.spx_head);
}

void steiner_points(RecordReader& dom) {
    grid_record& grid = *front.grid;
    int nst = 0;
    if (!dom.try_skip() || !dom.try_skip() || !dom.try_read("nst", nst) || !dom.try_skip()) {
        say({"UNEXPECTED END OF STEINER FILE"});
        return;
    }
    if (nst > 0) say({"Steiner points..."});
    if (front.scratch == nullptr) front.scratch = new_point();
    for (int n = 1; n <= nst; ++n) {
        point* p = take_candidate_record(grid);
        dom.read("x(1), x(2) of a Steiner point", p->x(1), p->x(2));
        p->ref = grid.pnt_head->next;
        simplex* found = nullptr;
        int flag = 0;
        eval_back(p, front.back->int_head, found, flag);
        if (flag != kLocated) {
            say({"*** Steiner point NOT found! ***"});
            movetop_point(grid.rej_head, p);
            continue;
        }
        int_metr_tria(found, p, front.scratch);
        // Steiner points are wanted where they are: no spacing test. But a
        // point on a vertex or on the boundary would make flat triangles and
        // end the run later, so the kernel's far-point test runs with a
        // distance too small to matter for any other point, and such a
        // point is dropped like one that was not found.
        // The point is found by the walk from ref (the first grid point);
        // the walls of a hole may stop that walk, and then a scan of the
        // working triangles finds it.
        int inserted = 0;
        insert_fixed_point(2, grid.spx_head, p, kSteinerCoincident, inserted);
        if (inserted == 0) {
            say({"*** Steiner point NOT inserted: it lies on a vertex or on the boundary ***"});
            movetop_point(grid.rej_head, p);
            continue;
        }
        movetop_point(grid.pnt_head, p);
    }
}

void crn_points() {
    grid_record& grid = *front.grid;
    int count = 0;
    for (simplex* s = grid.int_head->next; s != grid.int_head; s = s->next) {
        int nb = 0;
        for (int k = 1; k <= 3; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n != nullptr && n->status == st_far) ++nb;
        }
        // A triangle with all three sides on the boundary is a whole
        // triangular domain: there is no side to split. Only two boundary
        // sides make a corner.
        if (nb != 2) continue;
        // Only an accepted neighbour qualifies: the mark st_stitch keeps a
        // second corner triangle from splitting the side already split.
        for (int k = 1; k <= 3; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n != nullptr && n->status == st_internal) {
                s->status = st_stitch;
                ++count;
                halve_dom(grid, k, s);
                break;
            }
        }
    }
    set_status(grid.int_head, st_internal);
    front.nadd = count;
}

void add_crn_points() {
    grid_record& grid = *front.grid;
    front.nadd = insert_list(2, grid.add_head, grid.int_head, grid.pnt_head);
}

void front_grid(grid_record& grid, grid_record& back, int nstep, int choice, RecordReader& dom) {
    front.grid = &grid;
    front.back = &back;
    front.max_length = 0.0;
    front.nadd = 0;
    front.nfro = 0;
    front.step = 0;

    adjust_spx();
    // External triangles become walls (status 0): no cavity and no
    // insertion walk crosses the boundary while the front runs.
    set_status(grid.ext_head, st_far);
    jointop_simplex(grid.spx_head, grid.int_head);
    set_status(grid.spx_head, st_undefined);

    steiner_points(dom);

    static const Format header("(3(1x,a7), 5x, a10)");
    static const Format row("(3i8, 5x, f10.2)");
    say_line("");
    say({"Front begin:"});
    say_fmt(header, {"STEP", "NFRO", "NADD", "MAX_LENGTH"});
    for (front.step = 1; front.step <= nstep; ++front.step) {
        flush_output();  // the header, then each step's row while the next one runs
        front.max_length = 0.0;
        uns_split();
        front.nfro = 0;
        find_points(choice);
        add_frn_points();
        say_fmt(row, {front.step, front.nfro, front.nadd, front.max_length});
        if (front.nadd == 0) break;
    }
    say({"Front end."});
    if (!empty_list(grid.spx_head)) uns_split(true);

    crn_points();
    add_crn_points();
    restore_lists();
    say({"Corners splitted"});
    say_line("");

    // The internal and external lists are merged and classified again just
    // below: settling their undefined simplices first would be undone.
    settle_auxiliary(grid);

    // The boundary segments still point at triangles the front may have
    // replaced: find the two triangles at every segment again.
    merge_ie(grid.spx_head, grid.int_head, grid.ext_head);
    for (int i = 1; i <= grid.n_edge; ++i) {
        edge_record& e = grid.edge(i);
        flag_shell(2, e.int_head, grid.spx_head, e.stc_head);
        if (!empty_list(e.stc_head)) {
            say({"ohoh!!! TROUBLES in BOUNDARY", i});
            say({"elements", numberof_simplex(e.stc_head)});
            stop({"-- STOP -- (front_2d)"});
        }
    }
    // split_ie classifies every simplex it is given and the auxiliary list
    // is settled: no simplex is left undefined for contability to settle.
    split_ie(2, grid.spx_head, grid.int_head, grid.ext_head);
}

}  // namespace corvan
