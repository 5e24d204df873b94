#include "output/plots.hpp"

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "delaunay/eucl_delaunay.hpp"

namespace corvan {

namespace {

const Format& point_format() {
    static const Format f("(2e15.7,i8)");
    return f;
}

// The text that opens a block of the colour: an empty line and the colour
// record. The same for every block, so made once per colour.
std::string block_head(int colour) {
    std::string head(1, '\n');
    head += ld_record({"% linecolor = ", colour, " markertype = ", 0});
    head += '\n';
    return head;
}

// A point's record "x y i" is written once for every plotted side it ends
// (six times on average), close together in the list order. The text of the
// points met lately is kept, each in the slot its index picks, and copied
// when the point comes again; a point whose slot holds another point (or
// that has no index) is formatted afresh.
class PointTexts {
public:
    PointTexts() : owner_(kSlots, nullptr), text_(kSlots * kLength) {}
    void put(TextFile& out, const point* p) {
        if (p->i <= 0) return fresh(out, p);
        const std::size_t slot = static_cast<std::size_t>(p->i) & (kSlots - 1);
        char* t = text_.data() + slot * kLength;
        if (owner_[slot] != p) {
            scratch_.clear();
            point_format().append(scratch_, record(p).data(), 3);
            if (scratch_.size() != kLength) return out.raw(scratch_);
            scratch_.copy(t, kLength);
            owner_[slot] = p;
        }
        out.raw(std::string_view(t, kLength));
    }

private:
    static constexpr std::size_t kSlots = std::size_t{1} << 13;
    static constexpr std::size_t kLength = 2 * 15 + 8 + 1;  // (2e15.7,i8) and its line end
    static std::array<FmtArg, 3> record(const point* p) { return {p->x(1), p->x(2), p->i}; }
    static void fresh(TextFile& out, const point* p) { out.fmt_items(point_format(), record(p).data(), 3); }
    std::vector<const point*> owner_;
    std::vector<char> text_;
    std::string scratch_;
};

void block(TextFile& out, PointTexts& texts, const std::string& head, const point* p, const point* q) {
    out.raw(head);
    texts.put(out, p);
    texts.put(out, q);
}

void negate_all(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->status = -s->status;
}

void restore_all(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->status = std::abs(s->status);
}

}  // namespace

void g_plot(TextFile& out, const grid_record& g, simplex* a, simplex* b, bool length_option) {
    out.ld({"$ DATA = CURVE2D"});
    out.ld({"% equalscale = TRUE"});
    out.ld({"% boundary = TRUE"});

    const std::string grid_head = block_head(colour_grid);
    const std::string long_a_head = block_head(colour_long_a);
    const std::string long_b_head = block_head(colour_long_b);
    const std::string boundary_head = block_head(colour_boundary);
    PointTexts texts;
    negate_all(b);
    for (simplex* s = a->next; s != a; s = s->next) {
        if (s->status <= 0) continue;
        s->status = -s->status;  // visited: its shared sides are drawn only once
        for (int k = 1; k <= 3; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n == nullptr || n->status <= 0) continue;
            if (!length_option) {
                const point* ends[2];
                int m = 0;
                for (int j = 1; j <= 3; ++j)
                    if (j != k) ends[m++] = s->opp(j).pnt;
                block(out, texts, grid_head, ends[0], ends[1]);
                continue;
            }
            const int i1 = k % 3 + 1;
            const int i2 = i1 % 3 + 1;
            const point* p = s->opp(i1).pnt;
            const point* q = s->opp(i2).pnt;
            if (segment_r_length(2, p, q) <= kLongSide) {
                block(out, texts, grid_head, p, q);
                continue;
            }
            // An over-long side: two halves in the two warning colours,
            // meeting at its midpoint (written with index 0).
            const double mx = 0.5 * (p->x(1) + q->x(1));
            const double my = 0.5 * (p->x(2) + q->x(2));
            out.raw(long_a_head);
            texts.put(out, p);
            out.fmt(point_format(), {mx, my, 0});
            out.raw(long_b_head);
            out.fmt(point_format(), {mx, my, 0});
            texts.put(out, q);
        }
    }
    restore_all(a);
    restore_all(b);

    for (int e = 1; e <= g.n_edge; ++e) {
        const simplex* head = g.edge(e).int_head;
        if (head == nullptr) continue;
        for (const simplex* bs = head->next; bs != head; bs = bs->next) {
            block(out, texts, boundary_head, bs->opp(1).pnt->ppp, bs->opp(2).pnt->ppp);
        }
    }
}

}  // namespace corvan
