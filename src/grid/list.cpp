#include "grid/list.hpp"

#include "io/text_io.hpp"

namespace corvan {

namespace {

template <class R>
R* newhead(R* r) {
    r->prev = r;
    r->next = r;
    return r;
}

template <class R>
void pushtop(R* h, R* r) {
    R* t = h->next;
    h->next = r;
    r->prev = h;
    r->next = t;
    t->prev = r;
}

template <class R>
void pushbot(R* h, R* r) {
    R* b = h->prev;
    b->next = r;
    r->prev = b;
    r->next = h;
    h->prev = r;
}

template <class R>
void extract(R* r, const char* unlinked, const char* empty) {
    if (r->prev == nullptr || r->next == nullptr) stop({unlinked, "(stop)"});
    if (r->prev == r || r->next == r) stop({empty, "(stop)"});
    R* p = r->prev;
    R* n = r->next;
    p->next = n;
    n->prev = p;
}

template <class R>
void jointop(R* h1, R* h2) {
    if (h2->next == h2) return;
    R* f2 = h2->next;
    R* l2 = h2->prev;
    R* f1 = h1->next;
    h1->next = f2;
    l2->next = f1;
    f2->prev = h1;
    f1->prev = l2;
    h2->next = h2;
    h2->prev = h2;
}

template <class R>
void joinbot(R* h1, R* h2) {
    if (h2->next == h2) return;
    R* l1 = h1->prev;
    R* f2 = h2->next;
    R* l2 = h2->prev;
    l1->next = f2;
    f2->prev = l1;
    l2->next = h1;
    h1->prev = l2;
    h2->next = h2;
    h2->prev = h2;
}

template <class R>
int numberof(const R* h) {
    int n = 0;
    for (const R* r = h->next; r != h; r = r->next) ++n;
    return n;
}

constexpr const char* kPointUnlinked = "extract_point error, unlinked point";
constexpr const char* kPointEmpty = "extract_point error, list is empty";
constexpr const char* kSimplexUnlinked = "extract_simplex error, unlinked simplex";
constexpr const char* kSimplexEmpty = "extract_simplex error, list is empty";

}  // namespace

point* newhead_point() { return newhead(new_point()); }
simplex* newhead_simplex() { return newhead(new_simplex()); }

void pushtop_point(point* h, point* r) { pushtop(h, r); }
void pushtop_simplex(simplex* h, simplex* r) { pushtop(h, r); }
void pushbot_point(point* h, point* r) { pushbot(h, r); }
void pushbot_simplex(simplex* h, simplex* r) { pushbot(h, r); }

void extract_point(point* r) { extract(r, kPointUnlinked, kPointEmpty); }
void extract_simplex(simplex* r) { extract(r, kSimplexUnlinked, kSimplexEmpty); }

void movetop_point(point* h, point* r) {
    extract(r, kPointUnlinked, kPointEmpty);
    pushtop(h, r);
}
void movetop_simplex(simplex* h, simplex* r) {
    extract(r, kSimplexUnlinked, kSimplexEmpty);
    pushtop(h, r);
}
void movebot_point(point* h, point* r) {
    extract(r, kPointUnlinked, kPointEmpty);
    pushbot(h, r);
}
void movebot_simplex(simplex* h, simplex* r) {
    extract(r, kSimplexUnlinked, kSimplexEmpty);
    pushbot(h, r);
}

void jointop_point(point* h1, point* h2) { jointop(h1, h2); }
void jointop_simplex(simplex* h1, simplex* h2) { jointop(h1, h2); }
void joinbot_point(point* h1, point* h2) { joinbot(h1, h2); }
void joinbot_simplex(simplex* h1, simplex* h2) { joinbot(h1, h2); }

int numberof_point(const point* h) { return numberof(h); }
int numberof_simplex(const simplex* h) { return numberof(h); }

point* poptop_point(point* h) { return h->next; }
simplex* poptop_simplex(simplex* h) { return h->next; }
point* popbot_point(point* h) { return h->prev; }
simplex* popbot_simplex(simplex* h) { return h->prev; }

}  // namespace corvan
