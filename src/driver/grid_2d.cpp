#include "driver/grid_2d.hpp"

#include <memory>
#include <set>
#include <utility>

#include "boundary/boundary_2d.hpp"
#include "boundary/size_estimate.hpp"
#include "check/boundary_crossings.hpp"
#include "check/check_grid.hpp"
#include "delaunay/delaunay.hpp"
#include "domain/back_2d.hpp"
#include "domain/front_2d.hpp"
#include "domain/smooth.hpp"
#include "driver/stage_clock.hpp"
#include "geometry/curves.hpp"
#include "input/init_data.hpp"
#include "io/text_io.hpp"
#include "metric/metric_2d.hpp"
#include "mesh/arrays.hpp"
#include "optimize/optimize.hpp"
#include "output/mesh_files.hpp"
#include "output/plots.hpp"

namespace corvan {

grid_record grid;
grid_record back;

namespace {

// Declared length of the directory and problem-name variables.
constexpr int kNameLength = 64;

// The stem of a build or plot file name: directory(1:ld) + infix + name(1:ln).
std::string stage_file(const std::string& directory, const char* infix, const std::string& name) {
    const int ld = last_c_leng(kNameLength, directory);
    return directory.substr(0, static_cast<std::size_t>(ld)) + infix + problem_stem(name);
}

// The file-name variable as the plot messages print it: padded to 64.
std::string file_variable(const std::string& f) {
    return f.size() >= static_cast<std::size_t>(kNameLength) ? f : pad_to(f, kNameLength);
}

// The domain lies to the right of every edge. When an outer boundary runs
// the other way, the "internal" triangles reach the corners of the bounding
// triangle, which belong to no output list; when a hole does, the hole is
// meshed and the domain around it is not. Either way internal and external
// triangles then meet across sides that are no boundary segment: stop
// before such a grid reaches the mesh files.
[[noreturn]] void wrong_direction() {
    stop({" The domain is not enclosed by the boundary: the domain must lie to the right of",
          " every edge in the direction of its points (outer boundaries clockwise, holes",
          " counter-clockwise). Are the boundary sides traversed in the wrong direction?"});
}

void check_orientation(const grid_record& g) {
    // The pairs of triangles that meet across a boundary segment.
    std::set<std::pair<const simplex*, const simplex*>> crossings;
    for (int e = 1; e <= g.n_edge; ++e) {
        const simplex* head = g.edge(e).int_head;
        for (const simplex* b = head->next; b != head; b = b->next) crossings.insert({b->int_spx(), b->ext_spx()});
    }
    for (const simplex* s = g.int_head->next; s != g.int_head; s = s->next) {
        for (int k = 1; k <= 3; ++k) {
            for (const point* c = g.axp_head->next; c != g.axp_head; c = c->next) {
                if (s->opp(k).pnt == c) wrong_direction();
            }
            const simplex* n = s->opp(k).spx;
            if (n != nullptr && n->status == st_external && crossings.count({s, n}) == 0) wrong_direction();
        }
    }
}

}  // namespace

void build_grid(const std::string& directory, const std::string& name, const Options& options) {
    const int choice = 0;  // construction of the front points
    {
        RecordReader geo(stage_file(directory, "/geometry.", name));
        load_geometry(geo, grid);
    }
    if (grid.n_edge < 1) {
        stop({" The boundary file " + stage_file(directory, "/boundary.", name) +
              " describes no boundary edge: there is no domain to mesh."});
    }
    check_in_boundary(grid);
    check_boundary_crossings(grid);
    size_estimate size = estimate_boundary(grid);
    check_size(size, options.max_triangles, false);
    say({"Building grid ..."});
    delaunay_setup();
    say({"Boundary grid..."});
    say_line("");
    flush_output();
    boundary_grid(grid);
    contability(grid, 0);
    check_orientation(grid);
    stage_clock.lap("boundary grid");
    {
        RecordReader bnd(stage_file(directory, "/boundary.", name));
        load_back_read(bnd, back);
    }
    say_line("");
    say({"Background grid..."});
    flush_output();

    // The domain file stays open through the background and Steiner stages,
    // which read its records in order.
    RecordReader dom(stage_file(directory, "/domain.", name));
    dom.skip();
    int nstep = 0, ismooth = 0;
    dom.read("the step limit and the smoothing switch", nstep, ismooth);
    build_back(dom, grid, back);
    estimate_triangles(back, size);
    check_size(size, options.max_triangles, options.report);
    stage_clock.lap("background");
    if (nstep > 0) {
        front_grid(grid, back, nstep, choice, dom);
        build_arrays(grid);
        stage_clock.lap("front");
        if (ismooth == 1) {
            say({"Smoothing (Laplacian)."});
            flush_output();
            smooth();
            update_geometry(2, grid.int_head);
            stage_clock.lap("smoothing");
        } else {
            say({"No Smoothing."});
        }
    } else {
        build_arrays(grid);
    }
    if (options.optimize) {
        optimize_grid(grid);
        build_arrays(grid);
        stage_clock.lap("optimisation");
    }
    check_consistency(grid);
    contability(grid, 1);
    stage_clock.lap("checks");
}

void save_grid(const std::string& /*directory*/, const std::string& name) {
    const std::string stem = problem_stem(name);
    say_line("");
    say({"Saving grid ..."});
    say_line("");
    flush_output();
    // Each numbering pass walks millions of scattered records.
    if (arrays.array != &grid) build_arrays(grid);
    save_conv(stem, static_cast<int>(stem.size()));
}

void plot_grid(const std::string& directory, const std::string& name, int metric_switch, int back_switch,
               int ext_switch) {
    const std::string stem = problem_stem(name);
    {
        say({"Plotting  internal grid ..."});
        TextFile f(stage_file(directory, "/gridplot.", name));
        g_plot(f, grid, grid.int_head, grid.ext_head);
    }
    if (metric_switch == 2) {
        const std::string fn = "len_grid." + stem;
        say({"Plotting  length grid ...", file_variable(fn)});
        TextFile f(fn);
        g_plot(f, grid, grid.int_head, grid.ext_head, true);
    } else if (metric_switch == 0 || metric_switch == 1) {
        const std::string fn = (metric_switch == 0 ? "metric_grid." : "ellipse_grid.") + stem;
        say({metric_switch == 0 ? "Plotting  metric grid ..." : "Plotting  ellipse grid ...", file_variable(fn)});
        TextFile f(fn);
        m_plot(f, grid.int_head, metric_switch);
    }
    if (back_switch == 1) {
        say({"Plotting background grid..."});
        say_line("");
        {
            TextFile f(stage_file(directory, "/backplot.", name));
            g_plot(f, back, back.int_head, back.ext_head);
        }
        if (metric_switch == 0 || metric_switch == 1) {
            const std::string fn = (metric_switch == 0 ? "back_metric." : "back_ellipse.") + stem;
            say({metric_switch == 0 ? "Plotting  metric backgrid ..." : "Plotting  ellipse backgrid ...",
                 file_variable(fn)});
            TextFile f(fn);
            m_plot(f, back.int_head, metric_switch);
        }
    }
    if (ext_switch == 1) {
        say({"Plotting external grid..."});
        TextFile f(stage_file(directory, "/extplot.", name));
        g_plot(f, grid, grid.ext_head, grid.int_head);
    }
}

}  // namespace corvan
