#include "delaunay/delaunay.hpp"

#include <cmath>
#include <cstdlib>

#include "delaunay/eucl_delaunay.hpp"
#include "delaunay/stop_place.hpp"
#include "geometry/linsys.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"

namespace corvan {

DelaunayState kernel;

namespace {

// A neighbour joins the cavity when the in-circle measures of the member that
// reaches it and of itself add up to less than this (2 less a small margin,
// so that cocircular neighbours stay out).
constexpr double kCavitySum = 1.9999999999;

// Next draw of a walk generator: a single-precision value in [0, 1) built
// from the top 24 bits of a 32-bit xorshift, so every platform and standard
// library gives the same walk.
float walk_draw(std::uint32_t& state) {
    std::uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return static_cast<float>(x >> 8) * (1.0f / 16777216.0f);
}

// A simplex that holds p at least this share of kernel.extent away from
// each of its facets is the only one holding p within kBaryTol (no other
// simplex, the largest included, reaches that close); the share is far above
// the tolerance and the rounding of the coordinates.
constexpr double kUniqueShare = 1e-8;

// A new simplex whose barycentric size relative to the cavity member it
// replaces is at most this is a sliver: nearly flat, with a determinant whose
// sign rounding decides. A member that would leave one is kept out of the
// cavity, and insert_far_point declines a point that would make one.
constexpr double kStarTol = 1e-4;

bool has_vertex(int nd, const simplex* s, const point* v) {
    for (int i = 1; i <= nd + 1; ++i) {
        if (s->opp(i).pnt == v) return true;
    }
    return false;
}

// Role of a simplex in the cavity of the current insertion (simplex::cavity).
// delete_cavity hands them out and sets every one back to cav_none.
enum : std::uint8_t {
    cav_none = 0,    // not reached by the current insertion
    cav_basis = 1,   // contains p: stays in the cavity
    cav_member = 2,  // admitted by the in-circle criterion and not taken back out
    cav_out = 3,     // examined and kept out, or taken back out
};

bool is_member(const simplex* s) { return s->cavity == cav_basis || s->cavity == cav_member; }

// True when p lies clearly on the inner side of every facet of w that faces
// the outside of the cavity (outside(neighbour) true), so that joining p to
// those facets gives simplices of the same orientation as w and no sliver.
template <class Outside>
bool sees_boundary(int nd, const point* p, const simplex* w, Outside outside) {
    bool evaluated = false;
    for (int k = 1; k <= nd + 1; ++k) {
        if (!outside(w->opp(k).spx)) continue;
        if (!evaluated) {
            eval_facets(nd, p, w, kernel.vector);
            evaluated = true;
        }
        if (kernel.vector(k) <= kStarTol) return false;
    }
    return true;
}

// The vertex tally (kernel.tally): the number of boundary facets of the
// cavity that have v as a vertex. A table of a power-of-two size at least
// twice the number of keys, probed linearly.
std::size_t tally_slot(const point* v) {
    const auto key = reinterpret_cast<std::uintptr_t>(v);
    std::size_t slot = static_cast<std::size_t>((key >> 4) * 0x9E3779B97F4A7C15ull);
    const std::size_t mask = kernel.tally.size() - 1;
    for (slot &= mask; kernel.tally[slot].first != nullptr && kernel.tally[slot].first != v; slot = (slot + 1) & mask) {
    }
    return slot;
}

int tally_of(const point* v) { return kernel.tally[tally_slot(v)].second; }

// Adds delta to the tally of every vertex of facet k of w.
void tally_facet(int nd, const simplex* w, int k, int delta) {
    for (int i = 1; i <= nd + 1; ++i) {
        if (i == k) continue;
        auto& entry = kernel.tally[tally_slot(w->opp(i).pnt)];
        entry.first = w->opp(i).pnt;
        entry.second += delta;
    }
}

// Takes members admitted by the in-circle criterion back out of the cavity
// until it is star-shaped from p (no new simplex would be turned over or
// flat) and keeps every one of its vertices on its boundary (no vertex of the
// grid would vanish). The basis members, which contain p, always stay.
// Works on the roles of kernel.grown; costs in proportion to the cavity.
class CavityRepair {
public:
    CavityRepair(int nd, const point* p, std::size_t n_basis) : nd_(nd), p_(p), n_basis_(n_basis) {}

    void run() {
        const auto& grown = kernel.grown;
        const std::size_t n = grown.size();
        if (n == n_basis_) return;  // nothing to take out
        members_ = static_cast<int>(n);
        for (const simplex* w : grown) {
            for (int k = 1; k <= nd_ + 1; ++k) {
                if (!is_member(w->opp(k).spx)) ++boundary_;
            }
        }
        // Visibility only gets worse as members leave (each exposes new
        // boundary facets), so the members that must leave are the same in
        // any order: test each once, and again whenever a neighbour leaves.
        kernel.recheck.clear();
        for (std::size_t m = n_basis_; m < n; ++m) check_visibility(grown[m]);
        // Members at or beyond `cursor` surround no inner vertex; that stays
        // true as members leave, since a vertex on the boundary stays there.
        std::size_t cursor = n;
        for (;;) {
            while (!kernel.recheck.empty()) {
                simplex* w = kernel.recheck.back();
                kernel.recheck.pop_back();
                check_visibility(w);
            }
            // A star-shaped cavity of c members is a disk (an interval for
            // nd = 1) whose boundary has c + nd facets less two (one) per
            // inner vertex.
            if (boundary_ >= members_ + nd_) return;
            // Rare: give up the latest member around an inner vertex.
            if (!tallied_) make_tally();
            simplex* victim = nullptr;
            while (victim == nullptr && cursor > n_basis_) {
                simplex* w = grown[--cursor];
                if (w->cavity != cav_member) continue;
                for (int i = 1; i <= nd_ + 1; ++i) {
                    if (tally_of(w->opp(i).pnt) == 0) {
                        victim = w;
                        break;
                    }
                }
            }
            if (victim == nullptr) return;  // only the basis surrounds it: p sits on a vertex
            drop(victim);
        }
    }

private:
    void check_visibility(simplex* w) {
        if (w->cavity != cav_member) return;
        if (!sees_boundary(nd_, p_, w, [](const simplex* n) { return !is_member(n); })) drop(w);
    }

    // Takes w out: its facets shared with members become boundary facets,
    // its own boundary facets go, and its member neighbours are tested again.
    void drop(simplex* w) {
        w->cavity = cav_out;
        --members_;
        for (int k = 1; k <= nd_ + 1; ++k) {
            simplex* n = w->opp(k).spx;
            const bool inside = is_member(n);
            boundary_ += inside ? 1 : -1;
            if (tallied_) tally_facet(nd_, w, k, inside ? 1 : -1);
            if (n->cavity == cav_member) kernel.recheck.push_back(n);
        }
    }

    void make_tally() {
        std::size_t size = 16;
        while (size < 2 * static_cast<std::size_t>(nd_ + 1) * kernel.grown.size()) size *= 2;
        kernel.tally.assign(size, {nullptr, 0});
        for (const simplex* w : kernel.grown) {
            if (!is_member(w)) continue;
            for (int k = 1; k <= nd_ + 1; ++k) {
                if (!is_member(w->opp(k).spx)) tally_facet(nd_, w, k, 1);
            }
        }
        tallied_ = true;
    }

    int nd_;
    const point* p_;
    std::size_t n_basis_;
    int members_ = 0;       // members left
    int boundary_ = 0;      // boundary facets of the members left
    bool tallied_ = false;  // kernel.tally holds the current counts
};

}  // namespace

// --- geometry ---------------------------------------------------------------

namespace {

// The homogeneous vertex matrix of s (N = nd + 1 vertices), factored; returns its det.
template <int N>
double factor_vertex_matrix(const simplex* s, Mat<double, N, N>& a, Vec<int, N>& ipvt) {
    for (int k = 1; k <= N; ++k) {
        for (int j = 1; j <= N - 1; ++j) a(j, k) = s->opp(k).pnt->x(j);
        a(N, k) = 1.0;
    }
    double det = 0.0;
    lufact(a, ipvt, det);
    return det;
}

template <int N>
void facets_n(simplex* s) {
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) s->fct(i, j) = 0.0;
    }
    for (int k = 1; k <= N; ++k) s->fct(k, k) = 1.0;
    Mat<double, N, N> a;
    Vec<int, N> ipvt;
    factor_vertex_matrix(s, a, ipvt);
    // Solving for each unit column turns fct into the inverse of the vertex matrix.
    for (int i = 1; i <= N; ++i) lusolv(a, ipvt, &s->fct(1, i));
}

template <int N>
double det_n(const simplex* s) {
    Mat<double, N, N> a;
    Vec<int, N> ipvt;
    return factor_vertex_matrix(s, a, ipvt);
}

// simplex_normal for N = nd, on minors of its own.
template <int N>
void normal_n(const simplex* bs, Vec<double, 3>& nrm) {
    Vec<double, 2> twin;
    Mat<double, N, N> a;
    Vec<int, N> ipvt;
    for (int k = 1; k <= N + 1; ++k) {
        // Cyclic minors of the twins' homogeneous coordinates: nrm(k) is the
        // determinant with coordinate column k left out.
        for (int i = 1; i <= N; ++i) {
            const point* t = bs->opp(i).pnt->ppp;
            for (int j = 1; j <= N; ++j) twin(j) = t->x(j);
            for (int j = 1; j <= N; ++j) {
                const int r = (j - 1 + k) % (N + 1);
                a(i, j) = (r < N) ? twin(r + 1) : 1.0;
            }
        }
        lufact(a, ipvt, nrm(k));
    }
}

}  // namespace

void simplex_facets(int nd, simplex* s) {
    if (nd == 2) facets_n<3>(s);
    else facets_n<2>(s);
}

double simplex_det(int nd, const simplex* s) { return nd == 2 ? det_n<3>(s) : det_n<2>(s); }

void update_geometry(int nd, simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) simplex_facets(nd, s);
}

void eval_facets(int nd, const point* p, const simplex* s, Vec<double, 3>& b) {
    if (nd == 2) {
        // The loop below for nd = 2, in the same order of operations.
        const double x1 = p->x(1), x2 = p->x(2);
        for (int k = 1; k <= 3; ++k) b(k) = (s->fct(k, 3) + s->fct(k, 1) * x1) + s->fct(k, 2) * x2;
        return;
    }
    for (int k = 1; k <= nd + 1; ++k) {
        double v = s->fct(k, nd + 1);
        for (int j = 1; j <= nd; ++j) v = v + s->fct(k, j) * p->x(j);
        b(k) = v;
    }
}

void simplex_normal(int nd, const simplex* bs, Vec<double, 3>& nrm) {
    if (nd == 2) normal_n<2>(bs, nrm);
    else normal_n<1>(bs, nrm);
}

// --- location ---------------------------------------------------------------

void delaunay_setup() {
    kernel.bbl_head = newhead_simplex();
    kernel.del_head = newhead_simplex();
    kernel.new_head = newhead_simplex();
    kernel.gar_head = newhead_simplex();
}

void reset_walk_random() {
    kernel.walk_random = kWalkSeed;
    kernel.near_random = kWalkSeed;
}

void trivial_search(int nd, simplex* head, const point* p, simplex*& spx, int& fail) {
    spx = nullptr;
    fail = 1;
    for (simplex* s = head->next; s != head; s = s->next) {
        if (s->status < 1) continue;
        eval_facets(nd, p, s, kernel.vector);
        int pass = 0;
        for (int k = 1; k <= nd + 1; ++k) {
            if (kernel.vector(k) >= -kBaryTol) ++pass;
        }
        if (pass == nd + 1) {
            spx = s;
            fail = 0;
            return;
        }
    }
}

namespace {

// The walk of walking_search from spx, never entering status `forbidden`,
// drawing from `random`; returns a walk_* code and leaves spx at the
// containing simplex (walk_found) or null, and p's barycentric coordinates
// in the last simplex visited in kernel.vector.
int walk_from(int nd, const point* p, simplex*& spx, int forbidden, std::uint32_t& random) {
    simplex* s = spx;
    spx = nullptr;
    for (int step = 1; step <= kWalkMaxSteps; ++step) {
        eval_facets(nd, p, s, kernel.vector);
        bool inside = true;
        int n = 0;
        for (int k = 1; k <= nd + 1; ++k) {
            if (kernel.vector(k) <= -kBaryTol) {
                inside = false;
                // A missing neighbour (an open grid) is treated like a forbidden one.
                const simplex* nb = s->opp(k).spx;
                if (nb != nullptr && nb->status != forbidden) kernel.pivot(++n) = k;
            }
        }
        if (n == 0) {
            if (!inside) return walk_outside;
            spx = s;
            return walk_found;
        }
        // A random choice among the facets the point lies beyond cannot cycle
        // for ever, unlike the choice of the most negative coordinate.
        const float r = walk_draw(random);
        int c = static_cast<int>(static_cast<float>(n) * r) + 1;
        if (c > n) c = n;
        s = s->opp(kernel.pivot(c)).spx;
    }
    return walk_gave_up;
}

// Locates p by a walk from near's simplex. True, with s, when the walk ends
// in a simplex holding p clearly inside: no other simplex can then pass
// trivial_search's test, so s is also the scan's answer. False when the walk
// fails or p lies (nearly) on a facet, where the scan must decide. The walk
// draws from a generator of its own: the walks from ref points make the same
// choices as if this one had not run.
bool locate_near(int nd, const point* p, const point* near, simplex*& s) {
    s = near->spx;
    if (s == nullptr || s->status < 1 || !(kernel.extent > 0.0)) return false;
    if (walk_from(nd, p, s, st_far, kernel.near_random) != walk_found) return false;
    const double margin = kUniqueShare * kernel.extent;
    for (int k = 1; k <= nd + 1; ++k) {
        // b(k) / |grad b(k)| is the distance from p to facet k.
        double g2 = 0.0;
        for (int j = 1; j <= nd; ++j) g2 = g2 + s->fct(k, j) * s->fct(k, j);
        if (!(kernel.vector(k) > margin * std::sqrt(g2))) return false;
    }
    return true;
}

}  // namespace

void walking_search(int nd, const point* p, simplex*& spx, int& mode) {
    const int forbidden = (mode == walk_avoid_external) ? st_external : st_far;
    if (spx->status == forbidden) {
        stop({ld_record({"research is compromised. STOP (walking_search)"}),
              " the walk toward " + point_place(nd, p) + " starts from a simplex outside the domain"});
    }
    mode = walk_from(nd, p, spx, forbidden, kernel.walk_random);
    if (mode == walk_gave_up) say({"Warning: walking search failed after", kWalkMaxSteps, "steps"});
}

NearPoints::NearPoints(const Vec<double, 2>& lo, const Vec<double, 2>& hi, int n) : lo_(lo) {
    const double w = std::fmax(hi(1) - lo(1), 0.0);
    const double h = std::fmax(hi(2) - lo(2), 0.0);
    const double cells = std::fmax(1.0, 0.25 * n);
    // Square cells where the box allows: nx / ny follows the box's shape.
    if (w > 0.0 && h > 0.0) {
        const double side = std::sqrt(w * h / cells);
        nx_ = static_cast<int>(std::fmin(cells, std::ceil(w / side)));
        ny_ = static_cast<int>(std::fmin(cells, std::ceil(h / side)));
    }
    scale_(1) = w > 0.0 ? nx_ / w : 0.0;
    scale_(2) = h > 0.0 ? ny_ / h : 0.0;
    cells_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_), nullptr);
}

int NearPoints::cell_of(const point* p) const {
    auto index = [](double t, int n) {
        // A NaN or a coordinate beyond the box lands in a border cell.
        if (!(t >= 0.0)) return 0;
        return t >= n ? n - 1 : static_cast<int>(t);
    };
    const int i = index((p->x(1) - lo_(1)) * scale_(1), nx_);
    const int j = index((p->x(2) - lo_(2)) * scale_(2), ny_);
    return j * nx_ + i;
}

const point* NearPoints::near(const point* p) const {
    const int c = cell_of(p);
    if (const point* q = cells_[static_cast<std::size_t>(c)]; q != nullptr) return q;
    // An empty cell (early on): the first filled one of the ring around it.
    const int i = c % nx_, j = c / nx_;
    for (int dj = -1; dj <= 1; ++dj) {
        for (int di = -1; di <= 1; ++di) {
            const int a = i + di, b = j + dj;
            if (a < 0 || a >= nx_ || b < 0 || b >= ny_) continue;
            if (const point* q = cells_[static_cast<std::size_t>(b * nx_ + a)]; q != nullptr) return q;
        }
    }
    return last_;
}

void NearPoints::add(const point* p) {
    cells_[static_cast<std::size_t>(cell_of(p))] = p;
    last_ = p;
}

// --- insertion ----------------------------------------------------------------

void delete_first(int nd, simplex* head, point* p, int& fail, const point* near) {
    fail = 1;
    simplex* s = nullptr;
    bool located = false;
    // A ref that is not connected itself gives no starting simplex: scan instead.
    if (p->ref != nullptr && p->ref->spx != nullptr) {
        s = p->ref->spx;
        int mode = walk_avoid_far;
        walking_search(nd, p, s, mode);
        if (mode == walk_outside) return;
        located = (mode == walk_found);
    } else if (p->ref == nullptr && near != nullptr) {
        located = locate_near(nd, p, near, s);
    }
    if (!located) {
        trivial_search(nd, head, p, s, fail);
        if (fail == 1) return;
    }
    fail = 0;
    delete_basis(nd, p, s);
}

void delete_basis(int nd, point* p, simplex* s) {
    s->status = -s->status;
    movetop_simplex(kernel.del_head, s);
    for (int k = 1; k <= nd + 1; ++k) {
        simplex* n = s->opp(k).spx;
        if (n == nullptr || n->status <= 0) continue;
        eval_facets(nd, p, n, kernel.vector);
        bool contains = true;
        for (int i = 1; i <= nd + 1; ++i) {
            if (kernel.vector(i) < -kBaryTol) contains = false;
        }
        if (!contains) continue;
        // p on a shared facet or vertex: both sides must go.
        if (n->status != st_undefined && n->status != st_internal) say({"delete_basis: element status:", n->status});
        n->status = -n->status;
        movetop_simplex(kernel.del_head, n);
        return;
    }
}

void delete_cavity(int nd, point* p) {
    auto& grown = kernel.grown;
    grown.clear();
    kernel.touched.clear();
    // The basis carries a role instead of delete_basis's negated status.
    for (simplex* s = kernel.del_head->next; s != kernel.del_head; s = s->next) {
        s->status = std::abs(s->status);
        s->cavity = cav_basis;
        grown.push_back(s);
        kernel.touched.push_back(s);
    }
    const std::size_t n_basis = grown.size();

    // Breadth-first growth over the members, including those admitted on the
    // way. Each neighbour is judged once, from the first member that reaches
    // it; far simplices (status 0) are never examined.
    // A member's own measure is the same for each of its neighbours: it is
    // computed once, unless its system was warned about (then each judgement
    // computes it again, so the warnings stay as they were).
    for (std::size_t m = 0; m < grown.size(); ++m) {
        simplex* w = grown[m];
        double mw = 0.0;
        bool have_mw = false;
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = w->opp(k).spx;
            if (n == nullptr || n->status <= 0 || n->cavity != cav_none) continue;
            kernel.touched.push_back(n);
            if (!have_mw) {
                bool warned = false;
                mw = delaunay_measure(nd, p, w, &warned);
                have_mw = !warned;
            }
            const double mn = delaunay_measure(nd, p, n);
            if (mw + mn < kCavitySum) {
                n->cavity = cav_member;
                grown.push_back(n);
            } else {
                n->cavity = cav_out;
            }
        }
    }

    // The sum criterion is looser than the in-circle test of the neighbour
    // alone: it may admit a simplex that p cannot see across its other
    // facets, or surround a vertex. Such members are taken back out.
    CavityRepair(nd, p, n_basis).run();

    // The marks the later steps read: members positive, their outside
    // neighbours negated (far ones keep 0); the roles are cleared.
    for (simplex* w : grown) {
        if (!is_member(w)) continue;
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = w->opp(k).spx;
            if (n != nullptr && !is_member(n) && n->status > 0) n->status = -n->status;
        }
    }
    // The admitted members leave their lists only now, in order of admission.
    for (std::size_t m = n_basis; m < grown.size(); ++m) {
        if (grown[m]->cavity == cav_member) movebot_simplex(kernel.del_head, grown[m]);
    }
    for (simplex* s : kernel.touched) s->cavity = cav_none;
}

void check_cavity(int nd, point* p, int& ok) {
    const double r2 = (0.5 * p->h) * (0.5 * p->h);
    bool close = false;
    for (simplex* w = kernel.del_head->next; w != kernel.del_head && !close; w = w->next) {
        for (int i = 1; i <= nd + 1; ++i) {
            if (segment_length(nd, w->opp(i).pnt, p) < r2) {
                close = true;
                break;
            }
        }
    }
    // A point (almost) on a boundary facet of the cavity would make a flat
    // simplex there; it is declined like a point too close to a vertex.
    for (simplex* w = kernel.del_head->next; w != kernel.del_head && !close; w = w->next) {
        if (!sees_boundary(nd, p, w, [](const simplex* n) { return n->status < 1; })) close = true;
    }
    if (!close) {
        ok = 1;
        return;
    }
    for (simplex* w = kernel.del_head->next; w != kernel.del_head; w = w->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = w->opp(k).spx;
            n->status = std::abs(n->status);
        }
    }
    ok = 0;
}

namespace {

// The end of a turn around a hinge of the cavity: the nd - 1 vertices shared
// by a boundary facet of a member and one of its other facets. The turn goes
// from member to member across the facets holding the hinge until it meets
// one that faces outside.
struct HingeTurn {
    simplex* member;    // the member whose facet ends the turn
    int facet = 0;      // that facet's number in member; it faces outside
    int rim = 0;        // the vertex of `facet` in member that is off the hinge
    Vec<int, 3> hinge;  // the hinge vertices' numbers in member, in their order in the first member
};

// The turn from member w across its facet j, around the hinge that facet
// shares with w's boundary facet k.
HingeTurn turn_around_hinge(int nd, simplex* w, int j, int k) {
    HingeTurn turn{w, j, k, {}};
    int n_hinge = 0;
    for (int r = 1; r <= nd + 1; ++r) {
        if (r != j && r != k) turn.hinge(++n_hinge) = r;
    }
    for (simplex* next = w->opp(j).spx; next->status > 0; next = next->opp(turn.facet).spx) {
        // Renumber into next: its vertex off the shared facet becomes the
        // rim, and the facet opposite the old rim is the next one to cross.
        const simplex* cur = turn.member;
        const int f = turn.facet;
        const int across = cur->cmat(f, f);
        const int facet = cur->cmat(f, turn.rim);
        for (int m = 1; m <= n_hinge; ++m) turn.hinge(m) = cur->cmat(f, turn.hinge(m));
        turn.member = next;
        turn.rim = across;
        turn.facet = facet;
    }
    return turn;
}

// A new record for update_topology, at the top of new_head: a deleted one
// when any waits for reuse (without the links of its former life), else a
// fresh one.
simplex* take_new_simplex() {
    simplex* t;
    if (!empty_list(kernel.gar_head)) {
        t = poptop_simplex(kernel.gar_head);
        t->status = st_undefined;
        movetop_simplex(kernel.new_head, t);
    } else {
        t = new_simplex();
        pushtop_simplex(kernel.new_head, t);
    }
    // A recycled record may have served as a boundary segment or a triangle.
    t->set_sides(nullptr, nullptr);
    return t;
}

}  // namespace

void update_topology(int nd, point* p) {
    simplex* const del = kernel.del_head;
    // Pass 1: one new simplex t per boundary facet k of member w: w with its
    // vertex k replaced by p, so vertex numbers and the cmat row toward the
    // outside neighbour n carry over.
    for (simplex* w = del->next; w != del; w = w->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = w->opp(k).spx;
            if (n->status >= 1) continue;
            simplex* t = take_new_simplex();
            const int n_apex = w->cmat(k, k);      // n's vertex off the shared facet
            const int w_apex = n->cmat(n_apex, n_apex);  // w's vertex off it, as n sees it
            for (int i = 1; i <= 3; ++i) t->opp(i) = facet_link{w->opp(i).pnt, nullptr};
            t->opp(w_apex).pnt = p;
            n->opp(n_apex).spx = t;
            t->opp(w_apex).spx = n;
            for (int j = 1; j <= 3; ++j) t->cmat(w_apex, j) = w->cmat(w_apex, j);
        }
    }
    // Pass 2: the neighbour of t across its facet j is the new simplex on the
    // boundary facet where the turn around their shared hinge ends.
    for (simplex* w = del->next; w != del; w = w->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = w->opp(k).spx;
            if (n->status >= 1) continue;
            simplex* t = n->opp(w->cmat(k, k)).spx;
            for (int j = 1; j <= nd + 1; ++j) {
                if (j == k) continue;
                const HingeTurn turn = turn_around_hinge(nd, w, j, k);
                const simplex* out = turn.member->opp(turn.facet).spx;
                t->opp(j).spx = out->opp(turn.member->cmat(turn.facet, turn.facet)).spx;
                // That simplex is turn.member with vertex turn.facet replaced by p.
                t->cmat(j, j) = turn.rim;
                t->cmat(j, k) = turn.facet;
                int m = 0;
                for (int r = 1; r <= nd + 1; ++r) {
                    if (r != j && r != k) t->cmat(j, r) = turn.hinge(++m);
                }
            }
        }
    }
    // Pass 3: vertices refer to new simplices; the outside marks are cleared.
    for (simplex* t = kernel.new_head->next; t != kernel.new_head; t = t->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            t->opp(k).pnt->spx = t;
            simplex* n = t->opp(k).spx;
            n->status = std::abs(n->status);
        }
    }
}

// --- boundary and domain coupling -----------------------------------------------

void set_delaunay(int nd, const Vec<double, 2>& a, const Vec<double, 2>& b, point* phead, simplex* fhead,
                  simplex* shead) {
    for (int i = 1; i <= nd + 3; ++i) pushtop_simplex(fhead, new_simplex());
    for (int i = 1; i <= nd + 1; ++i) pushtop_point(phead, new_point());
    Vec<point*, 3> pt;
    Vec<simplex*, 5> sp;
    {
        point* q = phead->next;
        for (int i = 1; i <= nd + 1; ++i, q = q->next) pt(i) = q;
        simplex* s = fhead->next;
        for (int i = 1; i <= nd + 3; ++i, s = s->next) sp(i) = s;
    }
    // Corners: the box widened by a quarter at its low end and stretched far
    // enough that the simplex covers it with a wide margin.
    for (int j = 1; j <= nd; ++j) {
        const double d = std::abs(b(j) - a(j));
        pt(1)->x(j) = a(j) - 0.25 * d;
    }
    for (int k = 1; k <= nd; ++k) {
        for (int j = 1; j <= nd; ++j) pt(k + 1)->x(j) = pt(1)->x(j);
        pt(k + 1)->x(k) = a(k) + (1.5 * nd - 0.25) * (b(k) - a(k));
    }
    for (int k = 1; k <= nd + 1; ++k) {
        for (int j = 1; j <= nd; ++j) kernel.extent = std::fmax(kernel.extent, std::abs(pt(k)->x(j)));
    }
    simplex* bs = sp(nd + 3);
    simplex* far_all = sp(1);
    for (int k = 1; k <= nd + 1; ++k) {
        bs->opp(k).pnt = pt(k);
        pt(k)->spx = bs;
    }
    for (int k = 1; k <= nd + 1; ++k) {
        simplex* g = sp(k + 1);
        for (int i = 1; i <= nd + 1; ++i) g->opp(i).pnt = (i == k) ? nullptr : pt(i);
    }
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            bs->cmat(i, j) = j;
            for (int k = 1; k <= nd + 1; ++k) sp(k + 1)->cmat(i, j) = j;
        }
    }
    for (int k = 1; k <= nd + 1; ++k) {
        simplex* g = sp(k + 1);
        bs->opp(k).spx = g;
        for (int i = 1; i <= nd + 1; ++i) g->opp(i).spx = (i == k) ? bs : far_all;
    }
    far_all->status = st_far;
    for (int k = 1; k <= nd + 1; ++k) sp(k + 1)->status = st_far;
    bs->status = st_undefined;
    simplex_facets(nd, bs);
    movetop_simplex(shead, bs);
}

void build_bubble(int nd, simplex* head, point* p) {
    simplex* s = p->spx;
    if (s == nullptr) stop({ld_record({"bubble error, unassociated pointer"}), ld_record({"(stop)"})});
    s->status = -s->status;
    movetop_simplex(head, s);
    for (simplex* m = head->next; m != head; m = m->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = m->opp(k).spx;
            if (n != nullptr && n->status > 0 && has_vertex(nd, n, p)) {
                n->status = -n->status;
                movebot_simplex(head, n);
            }
        }
    }
    for (simplex* m = head->next; m != head; m = m->next) m->status = std::abs(m->status);
}

void match_bubble_ndm1(int nd, const simplex* bs, simplex* head, simplex*& s1, simplex*& s2) {
    s1 = nullptr;
    s2 = nullptr;
    for (simplex* s = head->next; s != head; s = s->next) {
        bool match = true;
        for (int i = 1; i <= nd && match; ++i) {
            const point* twin = bs->opp(i).pnt->ppp;
            match = (twin != nullptr) && has_vertex(nd, s, twin);
        }
        if (!match) continue;
        if (s1 == nullptr) {
            s1 = s;
        } else {
            s2 = s;
            return;
        }
    }
}

void swap_ie_ndm1(int nd, const simplex* bs, simplex*& s1, simplex*& s2) {
    simplex_normal(nd, bs, kernel.vector);
    int shared = 0;
    for (int i = 1; i <= nd + 1; ++i) {
        if (s1->opp(i).spx == s2) shared = i;
    }
    if (shared == 0) return;  // not neighbours: no side can be told
    // The gradient of coordinate `shared` points from the shared facet into s1.
    double dot = 0.0;
    for (int j = 1; j <= nd; ++j) dot = dot + kernel.vector(j) * s1->fct(shared, j);
    if (dot > 0.0) {
        simplex* t = s1;
        s1 = s2;
        s2 = t;
    }
}

void flag_shell(int nd, simplex* bhead, simplex* dhead, simplex* uhead) {
    simplex* next;
    for (simplex* bs = bhead->next; bs != bhead; bs = next) {
        next = bs->next;
        build_bubble(nd, kernel.bbl_head, bs->opp(1).pnt->ppp);
        simplex* s1;
        simplex* s2;
        match_bubble_ndm1(nd, bs, kernel.bbl_head, s1, s2);
        jointop_simplex(dhead, kernel.bbl_head);
        if (s1 != nullptr && s2 != nullptr) {
            swap_ie_ndm1(nd, bs, s1, s2);
            s1->status = st_internal;
            bs->set_sides(s1, s2);
            s2->status = st_external;
        } else {
            movetop_simplex(uhead, bs);
        }
    }
}

void split_ie(int nd, simplex* head, simplex* ihead, simplex* ehead) {
    simplex* next;
    for (simplex* s = head->next; s != head; s = next) {
        next = s->next;
        if (s->status == st_internal) {
            movetop_simplex(ihead, s);
        } else if (s->status == st_external) {
            movetop_simplex(ehead, s);
        }
    }
    // Flood the internal flag from the seeds; anything but status 1 is a wall.
    for (simplex* s = ihead->next; s != ihead; s = s->next) {
        for (int k = 1; k <= nd + 1; ++k) {
            simplex* n = s->opp(k).spx;
            if (n == nullptr) stop({ld_record({"fill_shell error, I am lost !!!"}), ld_record({"(stop)"})});
            if (n->status == st_undefined) {
                n->status = st_internal;
                movebot_simplex(ihead, n);
            }
        }
    }
    for (simplex* s = head->next; s != head; s = s->next) {
        if (s->status > 0) s->status = st_external;
    }
    jointop_simplex(ehead, head);
}

void split_ie_1d(int nd, simplex* head, simplex* ihead, simplex* ehead) {
    if (nd != 1) stop({ld_record({"split_1d error, unexpected nd value = ", nd}), ld_record({"(stop)"})});
    simplex* next;
    for (simplex* s = head->next; s != head; s = next) {
        next = s->next;
        if (s->status > 0) {
            s->status = st_internal;
            movetop_simplex(ihead, s);
        }
    }
    // The segments reaching out to the bounding points lie beyond the edge's ends.
    for (simplex* s = ihead->next; s != ihead; s = next) {
        next = s->next;
        for (int k = 1; k <= nd + 1; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n != nullptr && n->status == st_far) {
                s->status = st_external;
                movetop_simplex(ehead, s);
                break;
            }
        }
    }
}

void merge_ie(simplex* head, simplex* ihead, simplex* ehead) {
    if (!empty_list(head)) return;
    jointop_simplex(head, ihead);
    jointop_simplex(head, ehead);
    for (simplex* s = head->next; s != head; s = s->next) {
        if (s->status > 0) s->status = st_undefined;
    }
}

}  // namespace corvan
