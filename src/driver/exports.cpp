#include "driver/exports.hpp"

#include "driver/grid_2d.hpp"
#include "driver/stage_clock.hpp"
#include "export/grid_measures.hpp"
#include "export/mesh_exports.hpp"
#include "export/quality_report.hpp"
#include "input/init_data.hpp"
#include "mesh/arrays.hpp"

namespace corvan {

void export_grid(const std::string& name, const Options& options) {
    const ExportFormats& f = options.exports;
    if (!f.any() && !options.report) return;
    const std::string stem = problem_stem(name);
    const bool shaped = f.vtu || f.svg || options.report;
    const Array1<TriangleShape> shapes = shaped ? triangle_shapes(arrays) : Array1<TriangleShape>();
    if (f.msh) write_msh(stem + ".msh", arrays, grid.n_edge);
    if (f.vtu) write_vtu(stem + ".vtu", arrays, shapes);
    if (f.svg) write_svg(stem + ".svg", stem, arrays, shapes);
    if (f.any()) stage_clock.lap("exports");
    if (options.report) {
        const GridQuality q = grid_quality(arrays, shapes);
        const std::string json = "report." + stem + ".json";
        write_quality_json(json, stem, q, stage_clock.times());
        print_quality_report(stem, q, stage_clock.times(), json);
    }
}

}  // namespace corvan
