#include "grid/grid_types.hpp"

#include <cstddef>
#include <deque>
#include <new>
#include <unordered_map>
#include <utility>
#include <type_traits>
#include <vector>

#include "grid/list.hpp"

namespace corvan {

namespace {

// Hands out records of one type from large chunks, so a record costs no
// allocation of its own and records made together lie together in memory.
// Chunks are never released nor moved: a record's address stays valid for
// the whole run. The records hold no resources, so none is ever destroyed.
template <class T>
class Pool {
public:
    static_assert(std::is_trivially_destructible_v<T>);
    // Records per chunk: about a megabyte, whose untouched pages cost no memory.
    static constexpr std::size_t kChunk = (std::size_t{1} << 20) / sizeof(T);

    Pool() = default;
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;
    ~Pool() {
        for (T* c : chunks_) ::operator delete(c, std::align_val_t(alignof(T)));
    }

    T* make() {
        if (used_ == kChunk) {
            chunks_.push_back(static_cast<T*>(::operator new(kChunk * sizeof(T), std::align_val_t(alignof(T)))));
            used_ = 0;
        }
        ++made_;
        return ::new (chunks_.back() + used_++) T();
    }
    long long made() const { return made_; }

private:
    std::vector<T*> chunks_;
    std::size_t used_ = kChunk;  // records taken from the last chunk; kChunk: no room left
    long long made_ = 0;
};

// The record arena. Ellipse records are few and never move (a deque keeps
// its elements in place); slot k of a point is ellipses[k - 1]. Side links
// belong to the few boundary segments: a segment's are found by its address.
struct Arena {
    Pool<point> points;
    Pool<simplex> simplices;
    std::deque<ellipse_record> ellipses;
    std::unordered_map<const simplex*, std::pair<simplex*, simplex*>> sides;
};

Arena& arena() {
    static Arena a;
    return a;
}

}  // namespace

point* new_point() { return arena().points.make(); }

simplex* new_simplex() { return arena().simplices.make(); }

long long points_made() { return arena().points.made(); }

long long simplices_made() { return arena().simplices.made(); }

ellipse_record& point::ellipse() {
    std::deque<ellipse_record>& e = arena().ellipses;
    if (ell == 0) {
        e.emplace_back();
        ell = static_cast<int>(e.size());
    }
    return e[static_cast<std::size_t>(ell - 1)];
}

const std::pair<simplex*, simplex*>& simplex::stored_sides() const { return arena().sides.at(this); }

void simplex::store_sides(simplex* int_side, simplex* ext_side) {
    if (int_side == nullptr && ext_side == nullptr) {
        arena().sides.erase(this);
        has_sides = false;
        return;
    }
    arena().sides[this] = {int_side, ext_side};
    has_sides = true;
}

const ellipse_record& point::ellipse() const {
    static const ellipse_record none;
    return ell == 0 ? none : arena().ellipses[static_cast<std::size_t>(ell - 1)];
}

namespace {

// Fresh, empty heads for the nine lists a grid or edge record holds.
template <class Record>
void make_heads(Record& r) {
    r.pnt_head = newhead_point();
    r.axp_head = newhead_point();
    r.add_head = newhead_point();
    r.rej_head = newhead_point();
    r.spx_head = newhead_simplex();
    r.axs_head = newhead_simplex();
    r.int_head = newhead_simplex();
    r.ext_head = newhead_simplex();
    r.stc_head = newhead_simplex();
}

}  // namespace

void edge_record::new_heads() { make_heads(*this); }

void grid_record::new_heads() { make_heads(*this); }

}  // namespace corvan
