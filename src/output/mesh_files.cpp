#include "output/mesh_files.hpp"

#include <algorithm>
#include <utility>

#include "mesh/arrays.hpp"

namespace corvan {

namespace {

// Element types of the element file.
constexpr int type_segment = 1;
constexpr int type_triangle = 2;
// Dimension written in the node file.
constexpr int space_dimension = 2;

// Formats of the mesh files, parsed once. Lines of one to three I7 fields
// use the same format: output stops at the first field without a value.
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

// One line of integers in I7 fields.
void write_ints(TextFile& out, std::initializer_list<int> v) {
    // Integers become format items without a temporary container.
    FmtArg items[5] = {0, 0, 0, 0, 0};
    std::size_t n = 0;
    for (int x : v) items[n++] = x;
    out.fmt_items(fmt_i7s(), items, n);
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
    write_head(out, name, ln);
    out.line(c_ne);
    write_ints(out, {a.ns_d, a.ns_b});
    write_section(out, c_domain, c_elements);
    out.line(c_idx_type);
    out.line(c_j_m);
    out.line(c_ma_m);
    for (int e = 1; e <= a.ns_d; ++e) {
        write_ints(out, {e, type_triangle});
        write_ints(out, {a.jj(1, e), a.jj(2, e), a.jj(3, e)});
        write_ints(out, {a.neigh(1, e), a.neigh(2, e), a.neigh(3, e)});
    }
    write_section(out, c_boundary, c_elements);
    out.line(c_idx_type_bound);
    out.line(c_j_m);
    out.line(c_ma_m);
    for (int k = 1; k <= a.ns_b; ++k) {
        write_ints(out, {k, type_segment, a.iflux(k)});
        write_ints(out, {a.jjs_b(1, k), a.jjs_b(2, k)});
        write_ints(out, {a.neighs_b(1, k), a.neighs_b(2, k)});
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

    write_head(out, name, ln);
    out.line(c_nd);
    write_ints(out, {space_dimension, a.np_d, a.np_b});
    write_section(out, c_domain, c_nodes);
    out.line(c_idx);
    out.line(c_rr);
    for (int p = 1; p <= a.np_d; ++p) {
        write_ints(out, {p});
        out.fmt(fmt_coordinates(), {a.rr(1, p), a.rr(2, p)});
    }
    write_section(out, c_boundary, c_nodes);
    out.line(c_idx_jd_bound);
    for (int n = 1; n <= a.np_b; ++n) {
        const int jd = n <= a.jjdir.size() ? a.jjdir(n) : 0;
        write_ints(out, {n, jd, bound(n)});
    }
}

}  // namespace corvan
