// Problem input: the problem name, the boundary file, the knots and geometry
// files, and the edge table of the grid record.
//
// Files, all in the current directory, named after the problem stem (the
// problem name up to its first blank):
//   "boundary." + stem   read: header, one command group per edge, topology
//   "knots." + stem      written here, then read back to build the curves
//   "geometry." + stem   the finished curves, for the grid build
// plus the data files named by the boundary file's data commands.
#pragma once

#include <string>
#include <string_view>

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"

namespace corvan {

// Limits of the boundary and data files: a larger count is taken as a
// corrupt file and stops the run before anything is allocated.
constexpr int max_boundary_edges = 1'000'000;
constexpr int max_boundary_vertices = 2'000'000;  // two ends per edge at most
constexpr int max_command_points = 10'000'000;    // points one command makes
constexpr int max_spacing_data = 1'000'000;       // spacing data points per edge

// The generating commands of the boundary file's section 2.
enum : int { cmd_unknown = 0, cmd_line = 1, cmd_ellipse = 2, cmd_circle = 3, cmd_data = 4 };

// The name that every stage builds its file names from: name up to its
// first blank (the whole name when it has none).
std::string problem_stem(const std::string& name);

// The command of a section-2 command record (read as "(a20)"): its first
// three characters after leading blanks, compared exactly with "lin", "ell",
// "cir" and "dat". cmd_unknown for anything else.
int boundary_command(std::string_view record);
// Number of parameter records that follow a command record (1, or 5 for data).
int command_records(int command);
// The stop for a command that is not known.
[[noreturn]] void command_not_known();

// Reads n_vert and n_edge (one record) into g; stops on counts outside
// 0..max_boundary_vertices / 0..max_boundary_edges.
void read_boundary_counts(RecordReader& in, grid_record& g);

// The whole problem input: asks for the problem name and reads it from
// input (one free-form character value; an empty name or stem stops), then
// load_boundary. name receives the name as read.
void init_boundary(RecordReader& input, std::string& name, grid_record& grid);

// The problem input for a known name (a non-empty stem): reads the boundary
// file, writes the knots file, builds and saves the curves and loads the
// edge table of grid.
void load_boundary(const std::string& name, grid_record& grid);

// Builds the curve table from "knots." + stem and writes it to
// "geometry." + stem.
void make_geometry(const std::string& name);

// Replaces the curve table with the curves of the geometry file in.
// When the file is the one make_geometry wrote in this run, and its 7
// digits move a curve by more than a tiny share of the smallest spacing of
// its edges in g (a domain far from the origin), the curves are kept as
// make_geometry built them instead, with a note.
void load_geometry(RecordReader& in, const grid_record& g);

// Reads section 3 of the boundary file into grid (the reader stands just
// after section 2) and gives every edge and the grid fresh list heads.
void load_topology(RecordReader& in, grid_record& grid);

// Section 3 into g, from its title record on (the reader stands just after
// section 2): the edge table (allocated with n_edge records unless it has
// them already), then fresh empty list heads for every edge and for g.
// Stops, naming the file, line and edge, on ndata < 2 (with the historic
// message), ndata above max_spacing_data, icurv outside 1..n_edge, vbeg or
// vend outside 1..n_vert, idata(j >= 2) outside 1..3, sdata outside [0, 1]
// or not above the previous data point's, or a spacing that is not positive.
void read_topology(RecordReader& in, grid_record& g);

// Knots-file curve groups: header_ writes the records of a group before its
// points (end condition code; the second form writes a clamped curve's end
// slopes d1 and dn), line_ and gen_ell_ write a whole group (angles in
// radians, n >= 2; an arc that is not a whole turn is clamped to its unit
// tangents). Points are written with ten decimals, fields widened to keep a
// blank between them. line_ and gen_ell_ return 0, or the number of the
// first point that is not finite or repeats its predecessor to those
// decimals (the group is then incomplete and the caller stops the run).
void header_(TextFile& out, int n, int code);
void header_(TextFile& out, int n, const Vec<double, 2>& d1, const Vec<double, 2>& dn);
int line_(TextFile& out, int n, const Vec<double, 2>& xa, const Vec<double, 2>& xb);
int gen_ell_(TextFile& out, int n, const Vec<double, 2>& xc, double a, double b, double t1, double t2);

}  // namespace corvan
