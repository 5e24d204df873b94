#include "input/init_data.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "geometry/curves.hpp"
#include "grid/list.hpp"

namespace corvan {

namespace {

// The value of pi the boundary commands turn degrees into radians with.
constexpr double pi_deg = 3.14159265358979;

// Records of the knots file.
const Format fmt_title("(6x,a6)");
const Format fmt_count("(i12)");
const Format fmt_2a12("(2a12)");
const Format fmt_2i12("(2i12)");
const Format fmt_a12("( a12)");
const Format fmt_i12("( i12)");
const Format fmt_point("(2f20.10)");   // a point of any command
const Format fmt_slopes("(4f20.10)");  // the end slopes of a clamped curve

// Width and decimals of a coordinate in the knots file.
constexpr int point_width = 20;
constexpr int point_decimals = 10;

// The knots-file record of one point, in rec: two F20.10 fields, each
// widened where its value needs all the columns (a coordinate of -2e7, say),
// so that a blank always parts the fields. False when a coordinate is not
// finite.
bool point_record(double x, double y, std::string& rec) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    rec.clear();
    const FmtArg items[2] = {x, y};
    fmt_point.append(rec, items, 2);
    if (rec[0] == ' ' && rec[point_width] == ' ') return true;
    // Rare: build the record field by field at the width each value needs.
    rec.clear();
    for (const double v : {x, y}) {
        std::string t = fmt_f(v, 1000, point_decimals);
        t.erase(0, t.find_first_not_of(' '));
        rec.append(std::max<std::size_t>(point_width, t.size() + 1) - t.size(), ' ');
        rec += t;
    }
    rec += '\n';
    return true;
}

// Writes the points of one curve group to the knots file, one at a time.
// Consecutive points that the file's ten decimals make equal would give the
// curve a zero chord: such a point is refused here, where the caller can
// still say which command or data line made it.
class PointWriter {
public:
    explicit PointWriter(TextFile& out) : out_(out) {}
    // False when the point is not finite or repeats the previous one.
    bool put(double x, double y) {
        if (!point_record(x, y, rec_)) return false;
        if (count_ > 0 && rec_ == prev_) return false;
        out_.raw(rec_);
        std::swap(rec_, prev_);
        ++count_;
        return true;
    }

private:
    TextFile& out_;
    std::string rec_, prev_;  // kept between points: the loops allocate nothing
    int count_ = 0;
};

std::string edge_label(int i) { return "edge " + std::to_string(i); }

// A real as a diagnostic shows it: shortest form, 9 significant digits.
std::string short_real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

// Checks the point count of a command just read from in.
void check_command_points(const RecordReader& in, int i, const char* command, int n, int least) {
    if (n < least || n > max_command_points) {
        in.reject(edge_label(i) + ": " + command + " command with n = " + std::to_string(n) + ", it needs " +
                  std::to_string(least) + " to " + std::to_string(max_command_points) + " points");
    }
}

// One data command: reads its five parameter records from bnd and writes the
// curve group of edge i with the points of the data file.
void data_command(RecordReader& bnd, TextFile& knots, int i) {
    std::string file_name;
    bnd.read("data file name", file_name);
    if (file_name.empty()) bnd.reject(edge_label(i) + ": the data file name is empty");
    Vec<double, 2> tr;
    double alpha = 0.0;
    bnd.skip();
    bnd.read("tr(1), tr(2)", tr(1), tr(2));
    bnd.skip();
    bnd.read("alpha", alpha);
    // The point is translated first, then turned clockwise by alpha degrees.
    const double phi = -alpha * pi_deg / 180.0;
    const double c = std::cos(phi), s = std::sin(phi);

    RecordReader data(file_name);
    int n = 0;
    data.read("number of points", n);
    if (n < min_curve_points || n > max_command_points) {
        data.reject(edge_label(i) + ": n = " + std::to_string(n) + ", a data file needs 2 to " +
                    std::to_string(max_command_points) + " points");
    }
    header_(knots, n, end_natural);
    PointWriter out(knots);
    Vec<double, 2> p;
    for (int k = 1; k <= n; ++k) {
        data.read("x, y", p(1), p(2));
        const double x = p(1) + tr(1), y = p(2) + tr(2);
        if (!out.put(c * x - s * y, s * x + c * y)) {
            data.reject(edge_label(i) + ": point " + std::to_string(k) + " is not finite once moved, or repeats point " +
                        std::to_string(k - 1) + " to the ten decimals the curve is built from");
        }
    }
}

// True when the arc from t1 to t2 (radians) is a whole turn, up to the
// rounding of the degrees given.
bool whole_turn(double t1, double t2) {
    return std::fabs(std::fabs(t2 - t1) - 2.0 * pi_deg) <= 1e-12 * 2.0 * pi_deg;
}

// The curves the problem input built, at full precision, and the geometry
// file it wrote them to (empty when it wrote none).
struct BuiltCurves {
    std::string path;
    Array1<curve> table;
} built;

// The grid is built from the geometry file's curves only while its 7
// digits keep every curve within this share of the smallest spacing of the
// edges it carries.
constexpr double kGeometryShare = 1e-4;

}  // namespace

std::string problem_stem(const std::string& name) { return name.substr(0, name.find(' ')); }

int boundary_command(std::string_view record) {
    const std::size_t first = record.find_first_not_of(' ');
    if (first == std::string_view::npos) return cmd_unknown;
    const std::string_view word = record.substr(first, 3);
    if (word == "lin") return cmd_line;
    if (word == "ell") return cmd_ellipse;
    if (word == "cir") return cmd_circle;
    if (word == "dat") return cmd_data;
    return cmd_unknown;
}

int command_records(int command) { return command == cmd_data ? 5 : 1; }

void command_not_known() {
    stop({"command not known; no action taken", "the only command known are line, ellipse, circle, and data"});
}

void read_boundary_counts(RecordReader& in, grid_record& g) {
    int nv = 0, ne = 0;
    in.read("n_vert, n_edge", nv, ne);
    if (nv < 0 || nv > max_boundary_vertices) {
        in.reject("n_vert = " + std::to_string(nv) + ", expected 0 to " + std::to_string(max_boundary_vertices));
    }
    if (ne < 0 || ne > max_boundary_edges) {
        in.reject("n_edge = " + std::to_string(ne) + ", expected 0 to " + std::to_string(max_boundary_edges));
    }
    g.n_vert = nv;
    g.n_edge = ne;
}

void header_(TextFile& out, int n, int code) {
    out.fmt(fmt_2a12, {"         DIM", "      POINTS"});
    out.fmt(fmt_2i12, {2, n});
    out.fmt(fmt_a12, {"         IDC"});
    out.fmt(fmt_i12, {code});
    out.fmt(fmt_2a12, {"           X", "           Y"});
}

void header_(TextFile& out, int n, const Vec<double, 2>& d1, const Vec<double, 2>& dn) {
    out.fmt(fmt_2a12, {"         DIM", "      POINTS"});
    out.fmt(fmt_2i12, {2, n});
    out.fmt(fmt_a12, {"         IDC"});
    out.fmt(fmt_i12, {end_clamped});
    out.fmt(fmt_2a12, {"          D1", "          DN"});
    out.fmt(fmt_slopes, {d1(1), d1(2), dn(1), dn(2)});
    out.fmt(fmt_2a12, {"           X", "           Y"});
}

int line_(TextFile& out, int n, const Vec<double, 2>& xa, const Vec<double, 2>& xb) {
    header_(out, n, end_natural);
    PointWriter w(out);
    for (int k = 0; k <= n - 1; ++k) {
        Vec<double, 2> p;
        // The last point is xb itself, so both ends are exact.
        for (int j = 1; j <= 2; ++j) p(j) = k == n - 1 ? xb(j) : xa(j) + k * (xb(j) - xa(j)) / (n - 1);
        if (!w.put(p(1), p(2))) return k + 1;
    }
    return 0;
}

int gen_ell_(TextFile& out, int n, const Vec<double, 2>& xc, double a, double b, double t1, double t2) {
    // A whole turn is a closed curve. An open arc is clamped to its exact
    // tangents: the spline's own end conditions would bend its ends away
    // from the arc (by 0.04 on a quarter circle of radius 1 given 5 points).
    const bool closed = whole_turn(t1, t2);
    if (closed) {
        header_(out, n, end_periodic);
    } else {
        // The unit tangent at angle t, in the direction the arc runs.
        const double dir = t2 > t1 ? 1.0 : -1.0;
        auto tangent = [&](double t) {
            Vec<double, 2> d;
            d(1) = -dir * a * std::sin(t);
            d(2) = dir * b * std::cos(t);
            const double len = std::hypot(d(1), d(2));
            d(1) /= len;
            d(2) /= len;
            return d;
        };
        header_(out, n, tangent(t1), tangent(t2));
    }
    PointWriter w(out);
    for (int k = 0; k <= n - 1; ++k) {
        // The rounded pi leaves the last point of a whole turn a hair short
        // of the first; on a large circle that shows in the written digits
        // and the closed edge would fail its join check. A whole turn ends
        // where it began.
        const double theta = (closed && k == n - 1) ? t1 : t1 + k * (t2 - t1) / (n - 1);
        if (!w.put(xc(1) + a * std::cos(theta), xc(2) + b * std::sin(theta))) return k + 1;
    }
    return 0;
}

void init_boundary(RecordReader& input, std::string& name, grid_record& grid) {
    say_line("");
    say({"Problem name ?"});
    input.read("problem name", name);
    if (problem_stem(name).empty()) input.reject("the problem name is empty or starts with a blank");
    load_boundary(name, grid);
}

void load_boundary(const std::string& name, grid_record& grid) {
    const std::string stem = problem_stem(name);
    RecordReader bnd("boundary." + stem);
    say_line("");
    say({"Loading boundary data:"});
    for (int r = 1; r <= 4; ++r) bnd.skip();
    read_boundary_counts(bnd, grid);
    say_line(" loading geometry...");
    for (int r = 1; r <= 3; ++r) bnd.skip();

    TextFile knots("knots." + stem);
    knots.fmt(fmt_title, {"N_CURV"});
    knots.fmt(fmt_count, {grid.n_edge});
    for (int i = 1; i <= grid.n_edge; ++i) {
        bnd.skip();
        const int command = boundary_command(bnd.read_a("command", 20));
        int n = 0, bad = 0;
        switch (command) {
        case cmd_line: {
            Vec<double, 2> xa, xb;
            bnd.read("n, xa(1), xa(2), xb(1), xb(2)", n, xa(1), xa(2), xb(1), xb(2));
            check_command_points(bnd, i, "line", n, min_curve_points);
            bad = line_(knots, n, xa, xb);
            break;
        }
        case cmd_ellipse:
        case cmd_circle: {
            Vec<double, 2> xc;
            double a = 0.0, b = 0.0, t1 = 0.0, t2 = 0.0;
            if (command == cmd_ellipse) {
                bnd.read("n, xc(1), xc(2), a, b, t1, t2", n, xc(1), xc(2), a, b, t1, t2);
            } else {
                bnd.read("n, xc(1), xc(2), r, t1, t2", n, xc(1), xc(2), a, t1, t2);
                b = a;
            }
            const char* word = command == cmd_ellipse ? "ellipse" : "circle";
            const double r1 = t1 * pi_deg / 180.0, r2 = t2 * pi_deg / 180.0;
            // A whole turn is built as a periodic curve, which needs 4 points.
            check_command_points(bnd, i, word, n, whole_turn(r1, r2) ? min_periodic_points : min_curve_points);
            if (a == 0.0 || b == 0.0) {
                bnd.reject(edge_label(i) + ": " + word + " command with a zero " +
                           (command == cmd_ellipse ? "semi-axis" : "radius") + ": the arc is flat");
            }
            if (std::fabs(r2 - r1) > 2.0 * pi_deg && !whole_turn(r1, r2)) {
                bnd.reject(edge_label(i) + ": " + word + " command from " + short_real(t1) + " to " + short_real(t2) +
                           " degrees: an arc may turn at most once round (360 degrees)");
            }
            bad = gen_ell_(knots, n, xc, a, b, r1, r2);
            break;
        }
        case cmd_data:
            data_command(bnd, knots, i);
            break;
        default:
            command_not_known();
        }
        if (bad != 0) {
            bnd.reject(edge_label(i) + ": point " + std::to_string(bad) + " of the command is not finite, or repeats point " +
                       std::to_string(bad - 1) + " to the ten decimals the curve is built from");
        }
        bnd.skip();
        bnd.skip();
    }
    knots.close();
    make_geometry(name);
    load_topology(bnd, grid);
}

void make_geometry(const std::string& name) {
    const std::string stem = problem_stem(name);
    {
        RecordReader knots("knots." + stem);
        new_curves(knots, 1);
    }
    TextFile geometry("geometry." + stem);
    save_curves(geometry, 1);
    geometry.close();
    built.path = geometry.path();
    built.table = curv;
}

void load_geometry(RecordReader& in, const grid_record& g) {
    load_curves(in, 1);
    std::error_code ec;
    const bool same_file = !built.path.empty() && std::filesystem::equivalent(in.name(), built.path, ec);
    Array1<curve> exact = std::move(built.table);
    built = BuiltCurves();
    if (!same_file || exact.size() != n_curv) return;

    // The smallest spacing each curve is meshed with; curves no edge uses
    // do not matter.
    Array1<double> h(n_curv, std::numeric_limits<double>::infinity());
    for (int i = 1; i <= g.n_edge; ++i) {
        const edge_record& e = g.edge(i);
        if (e.icurv < 1 || e.icurv > n_curv) continue;
        for (int j = 1; j <= e.ndata; ++j) h(e.icurv) = std::min(h(e.icurv), e.hdata(1, j));
    }
    int worst = 0;
    double worst_share = 0.0;
    for (int ic = 1; ic <= n_curv; ++ic) {
        if (!std::isfinite(h(ic))) continue;
        const double share = curve_gap(exact(ic), curv(ic)) / h(ic);
        if (share > worst_share) {
            worst = ic;
            worst_share = share;
        }
    }
    // All or nothing, so that curves meeting at a vertex stay joined.
    if (worst_share > kGeometryShare) {
        curv = std::move(exact);
        say({"The 7 digits of " + in.name() + " would move curve " + std::to_string(worst) + " by " +
             short_real(worst_share) + " times its spacing:"});
        say({"the grid is built from the curves at full precision."});
    }
}

void load_topology(RecordReader& in, grid_record& grid) {
    say_line(" loading topology...");
    read_topology(in, grid);
}

void read_topology(RecordReader& in, grid_record& g) {
    if (g.edge.size() != g.n_edge) g.edge.assign(g.n_edge);
    in.skip();
    for (int i = 1; i <= g.n_edge; ++i) {
        edge_record& e = g.edge(i);
        for (int r = 1; r <= 3; ++r) in.skip();
        int icurv = 0, ndata = 0, vbeg = 0, vend = 0;
        in.read("icurv, ndata, vbeg, vend", icurv, ndata, vbeg, vend);
        if (ndata < 2) stop({ld_record({"load_topology error, valid ndata >= 2; I have ", ndata}), "(stop)"});
        if (ndata > max_spacing_data) {
            in.reject(edge_label(i) + ": ndata = " + std::to_string(ndata) + ", at most " +
                      std::to_string(max_spacing_data) + " spacing data points are allowed");
        }
        if (icurv < 1 || icurv > g.n_edge) {
            in.reject(edge_label(i) + ": icurv = " + std::to_string(icurv) + " is not a curve (1.." +
                      std::to_string(g.n_edge) + ")");
        }
        if (vbeg < 1 || vbeg > g.n_vert) {
            in.reject(edge_label(i) + ": vbeg = " + std::to_string(vbeg) + " is not a boundary vertex (1.." +
                      std::to_string(g.n_vert) + ")");
        }
        if (vend < 1 || vend > g.n_vert) {
            in.reject(edge_label(i) + ": vend = " + std::to_string(vend) + " is not a boundary vertex (1.." +
                      std::to_string(g.n_vert) + ")");
        }
        e.icurv = icurv;
        e.ndata = ndata;
        e.vbeg = vbeg;
        e.vend = vend;
        e.kind = 0;
        e.reverse = 0;
        e.idata.assign(ndata);
        e.sdata.assign(ndata);
        e.hdata.assign(3, ndata);
        in.skip();
        for (int j = 1; j <= ndata; ++j) {
            int law = 0;
            double sd = 0.0, h = 0.0;
            in.read("idata, sdata, h", law, sd, h);
            auto where = [i, j] { return edge_label(i) + ", data point " + std::to_string(j); };
            // idata(1) names no interval and is not used.
            if (j >= 2 && (law < 1 || law > 3)) {
                in.reject(where() + ": idata = " + std::to_string(law) + ", the spacing law must be 1, 2 or 3");
            }
            if (!(sd >= 0.0 && sd <= 1.0)) in.reject(where() + ": sdata must lie in [0, 1]");
            // The data points run along the curve, and the spacing law of an
            // interval of no length is undefined.
            if (j >= 2 && sd <= e.sdata(j - 1)) in.reject(where() + ": sdata must exceed the previous data point's");
            if (!(h > 0.0)) in.reject(where() + ": the spacing h must be positive");
            e.idata(j) = law;
            e.sdata(j) = sd;
            e.hdata(1, j) = h;
            e.hdata(2, j) = h;
            e.hdata(3, j) = 0.0;
        }
        in.skip();
        e.new_heads();
    }
    // A boundary vertex that no edge begins or ends at would be placed at the
    // origin and meshed as if it were a point of the domain.
    std::vector<char> used(static_cast<std::size_t>(g.n_vert) + 1, 0);
    for (int i = 1; i <= g.n_edge; ++i) {
        used[static_cast<std::size_t>(g.edge(i).vbeg)] = 1;
        used[static_cast<std::size_t>(g.edge(i).vend)] = 1;
    }
    for (int v = 1; v <= g.n_vert; ++v) {
        if (!used[static_cast<std::size_t>(v)]) {
            in.reject("boundary vertex " + std::to_string(v) + " is neither the beginning nor the end of any edge");
        }
    }
    g.new_heads();
}

}  // namespace corvan
