#include "delaunay/eucl_delaunay.hpp"

#include <cmath>

#include "delaunay/delaunay.hpp"
#include "delaunay/stop_place.hpp"
#include "geometry/linsys.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"

namespace corvan {

EuclState eucl;

namespace {

// Below this |det| the circumcentre system is reported as nearly singular.
constexpr double kDetTol = 1e-12;
// Below this Euclidean length a segment has no metric length.
constexpr double kLengthTol = 1e-12;

const Format& det_warning_format() {
    static const Format f("(a30,e12.5)");
    return f;
}

// The circumcentre system of s (the perpendicular bisectors of consecutive
// vertices) for N = nd: a and rhs(1..N) filled, a factored; returns det.
template <int N>
double factor_center_system(const simplex* s, Mat<double, N, N>& a, Vec<int, N>& ipvt, double* rhs) {
    Vec<double, 2> lo;
    Vec<double, 2> hi;
    for (int k = 1; k <= N; ++k) {
        for (int j = 1; j <= N; ++j) {
            lo(j) = s->opp(k).pnt->x(j);
            hi(j) = s->opp(k + 1).pnt->x(j);
        }
        double sum = 0.0;
        for (int j = 1; j <= N; ++j) {
            a(k, j) = hi(j) - lo(j);
            sum = sum + (hi(j) * hi(j) - lo(j) * lo(j));
        }
        rhs[k - 1] = 0.5 * sum;
    }
    double det = 0.0;
    lufact(a, ipvt, det);
    return det;
}

// Mean over the vertices of s of the squared distance to q.
double mean_r2(int nd, const simplex* s, const double* q) {
    double sum = 0.0;
    for (int k = 1; k <= nd + 1; ++k) {
        double d2 = 0.0;
        for (int j = 1; j <= nd; ++j) {
            const double d = s->opp(k).pnt->x(j) - q[j - 1];
            d2 = d2 + d * d;
        }
        sum = sum + d2;
    }
    return (1.0 / (nd + 1)) * sum;
}

// Steps 4 to 6 of an insertion, once the cavity is final.
void connect_cavity(int nd, simplex* head, point* p) {
    update_topology(nd, p);
    update_geometry(nd, kernel.new_head);
    jointop_simplex(kernel.gar_head, kernel.del_head);
    jointop_simplex(head, kernel.new_head);
}

}  // namespace

double segment_length(int nd, const point* p1, const point* p2) {
    double s = 0.0;
    for (int j = 1; j <= nd; ++j) {
        const double d = p1->x(j) - p2->x(j);
        s = s + d * d;
    }
    return s;
}

double segment_r_length(int nd, const point* p1, const point* p2) {
    Vec<double, 3>& d = eucl.vector;
    double e2 = 0.0;
    for (int j = 1; j <= nd; ++j) {
        d(j) = p1->x(j) - p2->x(j);
        e2 = e2 + d(j) * d(j);
    }
    if (std::sqrt(e2) < kLengthTol) return 0.0;
    double q1 = 0.0;
    double q2 = 0.0;
    for (int i = 1; i <= nd; ++i) {
        for (int j = 1; j <= nd; ++j) {
            q1 = q1 + d(i) * p1->mtr(i, j) * d(j);
            q2 = q2 + d(i) * p2->mtr(i, j) * d(j);
        }
    }
    return (std::sqrt(q1) + std::sqrt(q2)) / 2.0;
}

namespace {

// The circumcentre of s in q(1..N); returns the mean squared distance from it
// to the vertices. A nearly singular system is warned about, and then
// singular(det) decides whether the run can go on.
template <int N, class Singular>
double solve_center(const simplex* s, double* q, Singular singular) {
    Mat<double, N, N> a;
    Vec<int, N> ipvt;
    const double det = factor_center_system(s, a, ipvt, q);
    if (std::fabs(det) <= kDetTol) {
        say_fmt(det_warning_format(), {"simplex_center warning, det = ", det});
        singular(det);
    }
    lusolv(a, ipvt, q);
    return mean_r2(N, s, q);
}

template <int N>
void simplex_center_n(const simplex* s, Vec<double, 3>& q, double& r2) {
    r2 = solve_center<N>(s, q.data(), [s](double det) {
        if (det == 0.0) stop({ld_record({"(stop)"}), " " + simplex_place(N, s) + " is flat" + coincidence_note(N, s)});
    });
}

template <int N>
double delaunay_measure_n(const point* p, const simplex* s, bool* warned) {
    const double big_r2 = solve_center<N>(s, eucl.center.data(), [p, s, warned](double det) {
        if (warned != nullptr) *warned = true;
        // A flat or turned-over simplex has no meaningful circle.
        if (det <= 0.0) {
            stop({ld_record({"--STOP-- (delaunay_measure)"}),
                  " inserting " + point_place(N, p) + ": " + simplex_place(N, s) + " is flat or turned over" +
                      coincidence_note(N, s)});
        }
    });
    double d2 = 0.0;
    for (int j = 1; j <= N; ++j) {
        const double d = p->x(j) - eucl.center(j);
        d2 = d2 + d * d;
    }
    return d2 / big_r2;
}

}  // namespace

void simplex_center(int nd, const simplex* s, Vec<double, 3>& q, double& r2) {
    if (nd == 2) simplex_center_n<2>(s, q, r2);
    else simplex_center_n<1>(s, q, r2);
}

double delaunay_measure(int nd, const point* p, const simplex* s, bool* warned) {
    return nd == 2 ? delaunay_measure_n<2>(p, s, warned) : delaunay_measure_n<1>(p, s, warned);
}

void insert_point(int nd, simplex* head, point* p, const point* near) {
    if (p->spx != nullptr) {
        stop({ld_record({"New point is already connected (insert_point) -- STOP --"}),
              " " + point_place(nd, p) + " is already in the grid"});
    }
    int fail = 1;
    delete_first(nd, head, p, fail, near);
    if (fail == 1) {
        stop({ld_record({"Point not found (insert_point) -- STOP --"}),
              " " + point_place(nd, p) + " lies in no simplex of the grid"});
    }
    delete_cavity(nd, p);
    connect_cavity(nd, head, p);
}

void insert_far_point(int nd, simplex* head, point* p, int& inserted, const point* near) {
    if (p->spx != nullptr) {
        stop({ld_record({"New point is already connected (insert_far_point) -- STOP --"}),
              " " + point_place(nd, p) + " is already in the grid"});
    }
    int fail = 1;
    delete_first(nd, head, p, fail, near);
    if (fail == 1) {
        inserted = 0;
        return;
    }
    delete_cavity(nd, p);
    check_cavity(nd, p, inserted);
    if (inserted == 0) {
        // The cavity records come back untouched, into the caller's list.
        jointop_simplex(head, kernel.del_head);
        return;
    }
    connect_cavity(nd, head, p);
}

int insert_list(int nd, point* add, simplex* head, point* pnt, point* rej) {
    int count = 0;
    const point* last = nullptr;
    for (point* p = add->next; p != add;) {
        point* next = p->next;
        int inserted = 1;
        if (rej == nullptr) {
            insert_point(nd, head, p, last);
        } else {
            insert_far_point(nd, head, p, inserted, last);
        }
        if (inserted != 0) {
            movetop_point(pnt, p);
            last = p;
            ++count;
        } else {
            movetop_point(rej, p);
        }
        p = next;
    }
    return count;
}

void insert_fixed_point(int nd, simplex* head, point* p, double share, int& inserted, const point* near) {
    const double h = p->h;
    point* const ref = p->ref;
    p->h = share * h;
    insert_far_point(nd, head, p, inserted, near);
    if (inserted == 0 && ref != nullptr) {
        // Walls (external triangles) may stop the walk from ref: a scan decides.
        p->ref = nullptr;
        insert_far_point(nd, head, p, inserted);
    }
    p->h = h;
    p->ref = ref;
}

}  // namespace corvan
