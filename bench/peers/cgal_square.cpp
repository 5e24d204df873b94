// Peer mesher for bench/compare_peers.sh: meshes the unit square with CGAL's
// Delaunay refinement (shape bound 0.125, edge bound 1.5 h) and prints the
// triangle count (faces inside the domain) and its own meshing time.
//   cgal_square H
// Nothing is written to disk, so the wall time of the process is the
// meshing plus start-up. It lives in bench/peers/ because the CORVAN_BENCH
// build compiles every bench/*.cpp against Google Benchmark.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesh_vertex_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vb = CGAL::Delaunay_mesh_vertex_base_2<K>;
using Fb = CGAL::Delaunay_mesh_face_base_2<K>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, Tds>;
using Criteria = CGAL::Delaunay_mesh_size_criteria_2<CDT>;
using Point = CDT::Point;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SPACING\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const double h = std::strtod(argv[1], &end);
    if (end == argv[1] || *end != '\0' || !(h > 0.0)) {
        std::fprintf(stderr, "spacing must be a positive number, got '%s'\n", argv[1]);
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    CDT cdt;
    const Point corner[4] = {Point(0, 0), Point(0, 1), Point(1, 1), Point(1, 0)};
    CDT::Vertex_handle v[4];
    for (int i = 0; i < 4; ++i) v[i] = cdt.insert(corner[i]);
    for (int i = 0; i < 4; ++i) cdt.insert_constraint(v[i], v[(i + 1) % 4]);
    CGAL::refine_Delaunay_mesh_2(cdt, Criteria(0.125, 1.5 * h));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long triangles = 0;
    for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f)
        if (f->is_in_domain()) ++triangles;
    std::printf("triangles %ld\nseconds %.3f\n", triangles, seconds);
    return 0;
}
