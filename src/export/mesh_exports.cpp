#include "export/mesh_exports.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "export/grid_measures.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

// Columns that hold every integer up to v with one blank before it.
int int_columns(long long v) {
    int w = 2;
    for (; v >= 10; v /= 10) ++w;
    return w;
}

// n integers a line, each wide enough for values up to max.
std::string int_format(int n, long long max) {
    std::string f(1, '(');
    f += std::to_string(n);
    f += 'i';
    f += std::to_string(int_columns(max));
    f += ')';
    return f;
}

// Reals with 17 significant digits read back as the same doubles.
constexpr std::string_view kReal = "(e25.17)";
constexpr std::string_view kPlanePoint = "(2e25.17,' 0')";

// Text for XML content and attribute values; control characters, which XML
// does not allow, become '?'.
std::string xml_escaped(std::string_view s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? '?' : c; break;
        }
    }
    return out;
}

// The box around the domain nodes (all zero without nodes).
struct Box {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    bool empty = true;
    void add(double x, double y) {
        if (empty) {
            x0 = x1 = x;
            y0 = y1 = y;
            empty = false;
            return;
        }
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
};

// ---------------------------------------------------------------------------
// MSH 4.1

// The first and last boundary element of each edge (elements run edge by
// edge); an edge without elements has last < first.
struct EdgeRange {
    int first = 1, last = 0;
};

}  // namespace

void write_msh(const std::string& path, const ArraysState& a, int n_edge) {
    const int domain_tag = n_edge + 1;
    Array1<EdgeRange> range(n_edge);
    Array1<Box> edge_box(n_edge);
    Box all;
    for (int p = 1; p <= a.np_d; ++p) all.add(a.rr(1, p), a.rr(2, p));
    for (int k = 1; k <= a.ns_b; ++k) {
        const int e = a.iflux(k);
        if (e < 1 || e > n_edge) continue;
        if (range(e).last < range(e).first) range(e).first = k;
        range(e).last = k;
        for (int m = 1; m <= 2; ++m) {
            const int p = a.jjs(m, k);
            if (p >= 1 && p <= a.np_d) edge_box(e).add(a.rr(1, p), a.rr(2, p));
        }
    }
    int edge_blocks = 0;
    for (int e = 1; e <= n_edge; ++e) edge_blocks += range(e).last >= range(e).first ? 1 : 0;

    TextFile out(path);
    out.line("$MeshFormat");
    out.line("4.1 0 8");
    out.line("$EndMeshFormat");

    out.line("$PhysicalNames");
    out.line(std::to_string(n_edge + 1));
    for (int e = 1; e <= n_edge; ++e) out.line("1 " + std::to_string(e) + " \"edge" + std::to_string(e) + "\"");
    out.line("2 " + std::to_string(domain_tag) + " \"domain\"");
    out.line("$EndPhysicalNames");

    // Entities: tag, bounding box, one physical tag, no bounding entities.
    const Format entity("(i12,2e25.17,' 0',2e25.17,' 0 1',i12,' 0')");
    out.line("$Entities");
    out.line("0 " + std::to_string(n_edge) + " 1 0");
    for (int e = 1; e <= n_edge; ++e) {
        const Box& b = edge_box(e);
        out.fmt(entity, {e, b.x0, b.y0, b.x1, b.y1, e});
    }
    out.fmt(entity, {1, all.x0, all.y0, all.x1, all.y1, domain_tag});
    out.line("$EndEntities");

    // All nodes in one block on the surface.
    const Format tag(int_format(1, a.np_d));
    const Format xyz(kPlanePoint);
    out.line("$Nodes");
    out.line("1 " + std::to_string(a.np_d) + " 1 " + std::to_string(a.np_d));
    out.line("2 1 0 " + std::to_string(a.np_d));
    for (int p = 1; p <= a.np_d; ++p) out.fmt(tag, {p});
    for (int p = 1; p <= a.np_d; ++p) out.fmt(xyz, {a.rr(1, p), a.rr(2, p)});
    out.line("$EndNodes");

    // Triangles keep their numbers; boundary segment k becomes ns_d + k.
    const int n_elements = a.ns_d + a.ns_b;
    const long long widest = std::max(n_elements, a.np_d);
    const Format triangle(int_format(4, widest));
    const Format line(int_format(3, widest));
    out.line("$Elements");
    out.line(std::to_string(1 + edge_blocks) + " " + std::to_string(n_elements) + " 1 " + std::to_string(n_elements));
    out.line("2 1 2 " + std::to_string(a.ns_d));
    for (int e = 1; e <= a.ns_d; ++e) out.fmt(triangle, {e, a.jj(1, e), a.jj(2, e), a.jj(3, e)});
    for (int e = 1; e <= n_edge; ++e) {
        const EdgeRange& r = range(e);
        if (r.last < r.first) continue;
        out.line("1 " + std::to_string(e) + " 1 " + std::to_string(r.last - r.first + 1));
        for (int k = r.first; k <= r.last; ++k) out.fmt(line, {a.ns_d + k, a.jjs(1, k), a.jjs(2, k)});
    }
    out.line("$EndElements");
    out.close();
}

// ---------------------------------------------------------------------------
// VTU

void write_vtu(const std::string& path, const ArraysState& a, const Array1<TriangleShape>& shapes) {
    const Array1<int> edge = node_edges(a);
    const Format real(kReal);
    const Format xyz(kPlanePoint);
    const Format corners(int_format(3, a.np_d));
    const Format offset(int_format(1, 3LL * a.ns_d));
    const Format edge_number(int_format(1, a.np_d > 0 ? *std::max_element(edge.data(), edge.data() + a.np_d) : 0));

    TextFile out(path);
    out.line("<?xml version=\"1.0\"?>");
    out.line("<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">");
    out.line("<UnstructuredGrid>");
    out.line("<Piece NumberOfPoints=\"" + std::to_string(a.np_d) + "\" NumberOfCells=\"" + std::to_string(a.ns_d) +
             "\">");

    out.line("<PointData Scalars=\"spacing\">");
    out.line("<DataArray type=\"Float64\" Name=\"spacing\" format=\"ascii\">");
    for (int p = 1; p <= a.np_d; ++p) out.fmt(real, {a.hh(p)});
    out.line("</DataArray>");
    out.line("<DataArray type=\"Int32\" Name=\"edge\" format=\"ascii\">");
    for (int p = 1; p <= a.np_d; ++p) out.fmt(edge_number, {edge(p)});
    out.line("</DataArray>");
    out.line("</PointData>");

    out.line("<CellData Scalars=\"min_angle\">");
    out.line("<DataArray type=\"Float64\" Name=\"min_angle\" format=\"ascii\">");
    for (int e = 1; e <= a.ns_d; ++e) out.fmt(real, {shapes(e).min_angle});
    out.line("</DataArray>");
    out.line("<DataArray type=\"Float64\" Name=\"radius_ratio\" format=\"ascii\">");
    for (int e = 1; e <= a.ns_d; ++e) out.fmt(real, {shapes(e).radius_ratio});
    out.line("</DataArray>");
    out.line("</CellData>");

    out.line("<Points>");
    out.line("<DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">");
    for (int p = 1; p <= a.np_d; ++p) out.fmt(xyz, {a.rr(1, p), a.rr(2, p)});
    out.line("</DataArray>");
    out.line("</Points>");

    // VTK counts points from 0; 5 is its triangle.
    out.line("<Cells>");
    out.line("<DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">");
    for (int e = 1; e <= a.ns_d; ++e) out.fmt(corners, {a.jj(1, e) - 1, a.jj(2, e) - 1, a.jj(3, e) - 1});
    out.line("</DataArray>");
    out.line("<DataArray type=\"Int64\" Name=\"offsets\" format=\"ascii\">");
    for (int e = 1; e <= a.ns_d; ++e) out.fmt(offset, {3LL * e});
    out.line("</DataArray>");
    out.line("<DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">");
    for (int e = 1; e <= a.ns_d; ++e) out.line("5");
    out.line("</DataArray>");
    out.line("</Cells>");

    out.line("</Piece>");
    out.line("</UnstructuredGrid>");
    out.line("</VTKFile>");
    out.close();
}

// ---------------------------------------------------------------------------
// SVG

void write_svg(const std::string& path, const std::string& name, const ArraysState& a,
               const Array1<TriangleShape>& shapes) {
    // The grid fills kSize px along its longer side, inside a margin; the
    // caption sits below it.
    constexpr double kSize = 1000.0, kMargin = 20.0, kCaption = 30.0;
    Box box;
    for (int p = 1; p <= a.np_d; ++p) box.add(a.rr(1, p), a.rr(2, p));
    const double span = std::max(box.x1 - box.x0, box.y1 - box.y0);
    const double scale = span > 0.0 ? (kSize - 2.0 * kMargin) / span : 1.0;
    const int width = static_cast<int>(std::ceil((box.x1 - box.x0) * scale + 2.0 * kMargin));
    const int height = static_cast<int>(std::ceil((box.y1 - box.y0) * scale + 2.0 * kMargin + kCaption));
    // Picture coordinates: x to the right, y downward.
    auto px = [&](int p) { return kMargin + (a.rr(1, p) - box.x0) * scale; };
    auto py = [&](int p) { return kMargin + (box.y1 - a.rr(2, p)) * scale; };
    auto valid = [&](int p) { return p >= 1 && p <= a.np_d; };

    const Format side("('M',2f8.2,'L',2f8.2)");
    const Format tri("('M',2f8.2,'L',2f8.2,'L',2f8.2,'Z')");
    const std::string w = std::to_string(width), h = std::to_string(height);

    TextFile out(path);
    out.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    out.line("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " +
             w + " " + h + "\">");
    out.line("<title>corvan grid " + xml_escaped(name) + "</title>");
    out.line("<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>");

    int warned = 0;
    for (int e = 1; e <= a.ns_d; ++e) warned += shapes(e).min_angle < kWarnAngle ? 1 : 0;
    if (warned > 0) {
        out.line("<path class=\"warning\" fill=\"#ffa64d\" stroke=\"none\" d=\"");
        for (int e = 1; e <= a.ns_d; ++e) {
            if (!(shapes(e).min_angle < kWarnAngle)) continue;
            const int i = a.jj(1, e), j = a.jj(2, e), k = a.jj(3, e);
            if (valid(i) && valid(j) && valid(k)) out.fmt(tri, {px(i), py(i), px(j), py(j), px(k), py(k)});
        }
        out.line("\"/>");
    }

    // Each interior side once, from the triangle with the smaller number;
    // sides without a neighbour are boundary segments, drawn below.
    out.line("<path class=\"sides\" fill=\"none\" stroke=\"#8c8c8c\" stroke-width=\"0.6\" d=\"");
    for (int e = 1; e <= a.ns_d; ++e) {
        for (int m = 1; m <= 3; ++m) {
            if (a.neigh(m, e) <= e) continue;
            const int i = a.jj(m % 3 + 1, e), j = a.jj((m + 1) % 3 + 1, e);
            if (valid(i) && valid(j)) out.fmt(side, {px(i), py(i), px(j), py(j)});
        }
    }
    out.line("\"/>");

    out.line("<g class=\"boundary\" fill=\"none\" stroke=\"#1f1f1f\" stroke-width=\"1.6\" stroke-linecap=\"round\">");
    for (int k = 1; k <= a.ns_b;) {
        const int edge = a.iflux(k);
        out.line("<path d=\"");
        for (; k <= a.ns_b && a.iflux(k) == edge; ++k) {
            const int i = a.jjs(1, k), j = a.jjs(2, k);
            if (valid(i) && valid(j)) out.fmt(side, {px(i), py(i), px(j), py(j)});
        }
        out.line("\"><title>edge " + std::to_string(edge) + "</title></path>");
    }
    out.line("</g>");

    out.line("<text x=\"" + std::to_string(static_cast<int>(kMargin)) + "\" y=\"" +
             std::to_string(height - static_cast<int>(kCaption / 3)) +
             "\" font-family=\"sans-serif\" font-size=\"14\" fill=\"#333333\">" + xml_escaped(name) + ": " +
             std::to_string(a.np_d) + " nodes, " + std::to_string(a.ns_d) + " triangles, " +
             std::to_string(a.ns_b) + " boundary segments; " + std::to_string(warned) +
             " triangles with an angle below " + std::to_string(static_cast<int>(kWarnAngle)) +
             "&#176; (filled)</text>");
    out.line("</svg>");
    out.close();
}

}  // namespace corvan
