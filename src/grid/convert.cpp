#include "grid/convert.hpp"

#include "grid/list.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

// The copy of the record the source reference r points to, through the
// table indexed by the source records' numbers. A null reference, or one to
// a record left unnumbered (i <= 0) or numbered beyond the table (a stale
// number from another numbering), has no copy: null.
template <class T, class R>
T* copy_of(const R* r, const Array1<T*>& table) {
    if (r == nullptr || r->i <= 0 || r->i > table.size()) return nullptr;
    return table(r->i);
}

}  // namespace

void set_p2i(int& n, point* head) {
    for (point* p = head->next; p != head; p = p->next) p->i = ++n;
}

void set_s2i(int& n, simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->i = ++n;
}

void clr_p2i(point* head) {
    for (point* p = head->next; p != head; p = p->next) p->i = 0;
}

void clr_s2i(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->i = 0;
}

void p_list(int n, point*& head) {
    head = newhead_point();
    for (int k = 1; k <= n; ++k) pushbot_point(head, new_point());
}

void s_list(int n, simplex*& head) {
    head = newhead_simplex();
    for (int k = 1; k <= n; ++k) pushbot_simplex(head, new_simplex());
}

void set_i2p(int& n, point* head, Array1<point*>& table) {
    for (point* p = head->next; p != head; p = p->next) table(++n) = p;
}

void set_i2s(int& n, simplex* head, Array1<simplex*>& table) {
    for (simplex* s = head->next; s != head; s = s->next) table(++n) = s;
}

void p_copy(point* head, const Array1<point*>& ptab, const Array1<simplex*>& stab,
            const Array1<point*>& qtab) {
    for (point* p = head->next; p != head; p = p->next) {
        point* q = ptab(p->i);
        q->edge = p->edge;
        q->parent = p->parent;
        q->h = p->h;
        q->x = p->x;
        q->mtr = p->mtr;
        q->ref = copy_of(p->ref, ptab);
        q->spx = copy_of(p->spx, stab);
        q->ppp = copy_of(p->ppp, qtab);
    }
}

void s_copy(simplex* head, int nd, const Array1<point*>& ptab, const Array1<simplex*>& stab,
            const Array1<simplex*>& xtab) {
    for (simplex* s = head->next; s != head; s = s->next) {
        simplex* t = stab(s->i);
        t->status = s->status;
        t->cmat = s->cmat;
        t->fct = s->fct;
        t->set_sides(copy_of(s->int_spx(), xtab), copy_of(s->ext_spx(), xtab));
        for (int k = 1; k <= nd + 1; ++k) {
            t->opp(k).pnt = copy_of(s->opp(k).pnt, ptab);
            t->opp(k).spx = copy_of(s->opp(k).spx, stab);
        }
    }
}

namespace {

// Numbers the source list on from n and makes dst a new list of as many
// fresh records.
void number_and_shape(int& n, point* src, point*& dst) {
    const int n0 = n;
    set_p2i(n, src);
    p_list(n - n0, dst);
}

void number_and_shape(int& n, simplex* src, simplex*& dst) {
    const int n0 = n;
    set_s2i(n, src);
    s_list(n - n0, dst);
}

}  // namespace

void g_copy(grid_record& src, grid_record& dst) {
    // The edge lists of dst are indexed by src's edge numbers.
    if (dst.edge.size() < src.n_edge) {
        stop({" g_copy error, destination holds " + std::to_string(dst.edge.size()) + " edges, source " +
                  std::to_string(src.n_edge),
              "(stop)"});
    }

    // Number the source lists and give dst a list of as many fresh records
    // each; one counter per record kind, so each kind gets one table.
    int nb_p = 0;
    for (int e = 1; e <= src.n_edge; ++e) {
        number_and_shape(nb_p, src.edge(e).pnt_head, dst.edge(e).pnt_head);
        number_and_shape(nb_p, src.edge(e).axp_head, dst.edge(e).axp_head);
    }
    int nb_s = 0;
    for (int e = 1; e <= src.n_edge; ++e) {
        number_and_shape(nb_s, src.edge(e).int_head, dst.edge(e).int_head);
        number_and_shape(nb_s, src.edge(e).ext_head, dst.edge(e).ext_head);
        number_and_shape(nb_s, src.edge(e).axs_head, dst.edge(e).axs_head);
    }
    int nd_p = 0;
    number_and_shape(nd_p, src.pnt_head, dst.pnt_head);
    number_and_shape(nd_p, src.axp_head, dst.axp_head);
    int nd_s = 0;
    number_and_shape(nd_s, src.int_head, dst.int_head);
    number_and_shape(nd_s, src.ext_head, dst.ext_head);
    number_and_shape(nd_s, src.axs_head, dst.axs_head);

    // Tables from the source numbers to the copies: the new lists hold their
    // records in the order the source lists were numbered.
    Array1<point*> b_pnt(nb_p, nullptr);
    Array1<simplex*> b_spx(nb_s, nullptr);
    Array1<point*> d_pnt(nd_p, nullptr);
    Array1<simplex*> d_spx(nd_s, nullptr);

    int n = 0;
    for (int e = 1; e <= src.n_edge; ++e) {
        set_i2p(n, dst.edge(e).pnt_head, b_pnt);
        set_i2p(n, dst.edge(e).axp_head, b_pnt);
    }
    say({"b pnt number = ", n, nb_p});
    n = 0;
    for (int e = 1; e <= src.n_edge; ++e) {
        set_i2s(n, dst.edge(e).int_head, b_spx);
        set_i2s(n, dst.edge(e).ext_head, b_spx);
        set_i2s(n, dst.edge(e).axs_head, b_spx);
    }
    say({"b spx number = ", n, nb_s});
    n = 0;
    set_i2p(n, dst.pnt_head, d_pnt);
    set_i2p(n, dst.axp_head, d_pnt);
    say({"d pnt number = ", n, nd_p});
    n = 0;
    set_i2s(n, dst.int_head, d_spx);
    set_i2s(n, dst.ext_head, d_spx);
    set_i2s(n, dst.axs_head, d_spx);
    say({"d spx number = ", n, nd_s});

    // Boundary points refer to boundary segments and to their domain twins;
    // boundary segments to their domain triangles.
    for (int e = 1; e <= src.n_edge; ++e) {
        edge_record& se = src.edge(e);
        p_copy(se.pnt_head, b_pnt, b_spx, d_pnt);
        p_copy(se.axp_head, b_pnt, b_spx, d_pnt);
        s_copy(se.int_head, 1, b_pnt, b_spx, d_spx);
        s_copy(se.ext_head, 1, b_pnt, b_spx, d_spx);
        s_copy(se.axs_head, 1, b_pnt, b_spx, d_spx);
    }
    p_copy(src.pnt_head, d_pnt, d_spx, d_pnt);
    p_copy(src.axp_head, d_pnt, d_spx, d_pnt);
    s_copy(src.int_head, 2, d_pnt, d_spx, d_spx);
    s_copy(src.ext_head, 2, d_pnt, d_spx, d_spx);
    s_copy(src.axs_head, 2, d_pnt, d_spx, d_spx);
}

}  // namespace corvan
