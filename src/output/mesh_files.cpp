#include "output/mesh_files.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "mesh/arrays.hpp"

namespace corvan {

namespace {

// Element types of the element file.
constexpr int type_segment = 1;
constexpr int type_triangle = 2;
// Dimension written in the node file.
constexpr int space_dimension = 2;

// Width of the integer fields of a file whose numbers all fit six digits.
constexpr int narrow_width = 7;

// Formats of the mesh files. Lines of one to three integer fields use the
// same format: output stops at the first field without a value.
const Format& fmt_i7s() {
    static const Format f("(5i7)");
    return f;
}
const Format& fmt_coordinates() {
    static const Format f("(3e18.9)");
    return f;
}

const char* const hashes = "###########################################################################";

// Comment lines of the mesh files (75 characters, the count label of the
// element file 68).
const char* const c_ne = "#  NE_D   NE_B                                                     #";
const char* const c_nd = "#    ND   NP_D   NP_B                                                     #";
const char* const c_domain = "#  **********  DOMAIN  **********                                         #";
const char* const c_boundary = "#  **********  BOUNDARY  **********                                       #";
const char* const c_elements = "#  ++++  ELEMENTS ++++                                                    #";
const char* const c_nodes = "#  ++++   NODES   ++++                                                    #";
const char* const c_idx_type = "#   IDX   TYPE                                                            #";
const char* const c_idx_type_bound = "#   IDX   TYPE  BOUND                                                     #";
const char* const c_j_m = "#   J_M                                                                   #";
const char* const c_ma_m = "#   MA_M                                                                  #";
const char* const c_idx = "#   IDX                                                                   #";
const char* const c_rr = "#    RR                                                                   #";
const char* const c_idx_jd_bound = "#   IDX  JD_JB  BOUND                                                     #";

// The three head lines of both files: the name up to ln in 15 columns.
void write_head(TextFile& out, std::string_view name, int ln) {
    const std::size_t len = ln < 0 ? 0 : std::min(static_cast<std::size_t>(ln), name.size());
    out.line(hashes);
    out.line("#    NAME:      " + fmt_a(name.substr(0, len), 15) + "                                           #");
    out.line(hashes);
}

void write_section(TextFile& out, const char* title, const char* kind) {
    out.line(hashes);
    out.line(title);
    out.line(hashes);
    out.line(kind);
}

// The range of the integers a file will hold. Fields are I7 while every
// number fits six characters; a wider number widens every integer field of
// the file to one column more than it needs, so that numbers never run
// together (a million elements would fill I7 and merge with their
// neighbours).
class IntRange {
public:
    void add(int v) {
        lo_ = std::min(lo_, v);
        hi_ = std::max(hi_, v);
    }
    void add(const Array2<int>& a) {
        for (int c = 1; c <= a.cols(); ++c) {
            for (int r = 1; r <= a.rows(); ++r) add(a(r, c));
        }
    }
    void add(const Array1<int>& a) {
        for (int i = 1; i <= a.size(); ++i) add(a(i));
    }
    int width() const {
        const int w = std::max(chars(lo_), chars(hi_));
        return w < narrow_width ? narrow_width : w + 1;
    }

private:
    static int chars(long long v) {
        int n = v < 0 ? 2 : 1;
        for (v = v < 0 ? -v : v; v >= 10; v /= 10) ++n;
        return n;
    }
    int lo_ = 0, hi_ = 0;
};

// The integer-line format for fields of width w.
std::unique_ptr<Format> ints_format(int w) {
    if (w == narrow_width) return nullptr;
    return std::make_unique<Format>("(5i" + std::to_string(w) + ")");
}

// One line of integers in the fields of f (I7 when f is null).
void write_ints(TextFile& out, const Format* f, std::initializer_list<int> v) {
    // Integers become format items without a temporary container.
    FmtArg items[5] = {0, 0, 0, 0, 0};
    std::size_t n = 0;
    for (int x : v) items[n++] = x;
    out.fmt_items(f != nullptr ? *f : fmt_i7s(), items, n);
}

}  // namespace

void save_conv(const std::string& name, int ln, const std::string& dir) {
    ArraysState& a = arrays;
    // Boundary element k owns boundary nodes 2k - 1 and 2k, each standing on
    // the domain node of the shared point it replaces. Built aside, so that
    // a second call finds its own numbering and changes nothing.
    Array1<int> jjdir(2 * a.ns_b, 0);
    for (int k = 1; k <= a.ns_b; ++k) {
        for (int m = 1; m <= 2; ++m) {
            const int n = 2 * (k - 1) + m;
            const int old = a.jjs_b(m, k);
            jjdir(n) = old >= 1 && old <= a.jjdir.size() ? a.jjdir(old) : 0;
            a.jjs_b(m, k) = n;
        }
    }
    a.jjdir = std::move(jjdir);
    a.np_b = 2 * a.ns_b;

    const std::size_t len = ln < 0 ? 0 : std::min(static_cast<std::size_t>(ln), name.size());
    const std::string stem = name.substr(0, len);
    {
        TextFile out(dir + "/grid." + stem);
        save_conv_mesh(out, name, ln);
        out.close();
    }
    TextFile out(dir + "/nodes." + stem);
    save_conv_nodes(out, name, ln);
    out.close();
}

void save_conv_mesh(TextFile& out, std::string_view name, int ln) {
    const ArraysState& a = arrays;
    IntRange range;
    for (const int v : {a.ns_d, a.ns_b, type_triangle, type_segment}) range.add(v);
    range.add(a.jj);
    range.add(a.neigh);
    range.add(a.iflux);
    range.add(a.jjs_b);
    range.add(a.neighs_b);
    const std::unique_ptr<Format> wide = ints_format(range.width());
    const Format* f = wide.get();

    write_head(out, name, ln);
    out.line(c_ne);
    write_ints(out, f, {a.ns_d, a.ns_b});
    write_section(out, c_domain, c_elements);
    out.line(c_idx_type);
    out.line(c_j_m);
    out.line(c_ma_m);
    for (int e = 1; e <= a.ns_d; ++e) {
        write_ints(out, f, {e, type_triangle});
        write_ints(out, f, {a.jj(1, e), a.jj(2, e), a.jj(3, e)});
        write_ints(out, f, {a.neigh(1, e), a.neigh(2, e), a.neigh(3, e)});
    }
    write_section(out, c_boundary, c_elements);
    out.line(c_idx_type_bound);
    out.line(c_j_m);
    out.line(c_ma_m);
    for (int k = 1; k <= a.ns_b; ++k) {
        write_ints(out, f, {k, type_segment, a.iflux(k)});
        write_ints(out, f, {a.jjs_b(1, k), a.jjs_b(2, k)});
        write_ints(out, f, {a.neighs_b(1, k), a.neighs_b(2, k)});
    }
}

void save_conv_nodes(TextFile& out, std::string_view name, int ln) {
    const ArraysState& a = arrays;
    // The boundary number of a node is the edge of the element it is an end of.
    Array1<int> bound(a.np_b, 0);
    for (int k = 1; k <= a.ns_b; ++k) {
        for (int m = 1; m <= 2; ++m) {
            const int n = a.jjs_b(m, k);
            if (n >= 1 && n <= a.np_b) bound(n) = a.iflux(k);
        }
    }

    IntRange range;
    for (const int v : {space_dimension, a.np_d, a.np_b}) range.add(v);
    range.add(a.jjdir);
    range.add(bound);
    const std::unique_ptr<Format> wide = ints_format(range.width());
    const Format* f = wide.get();

    write_head(out, name, ln);
    out.line(c_nd);
    write_ints(out, f, {space_dimension, a.np_d, a.np_b});
    write_section(out, c_domain, c_nodes);
    out.line(c_idx);
    out.line(c_rr);
    for (int p = 1; p <= a.np_d; ++p) {
        write_ints(out, f, {p});
        out.fmt(fmt_coordinates(), {a.rr(1, p), a.rr(2, p)});
    }
    write_section(out, c_boundary, c_nodes);
    out.line(c_idx_jd_bound);
    for (int n = 1; n <= a.np_b; ++n) {
        const int jd = n <= a.jjdir.size() ? a.jjdir(n) : 0;
        write_ints(out, f, {n, jd, bound(n)});
    }
}

}  // namespace corvan
