// The command line: corvan [OPTIONS] [NAME]. Without a name the problem name
// is read from standard input, as a run without arguments always has.
#pragma once

#include <string>
#include <vector>

namespace corvan {

// Formats that --export can write beside the mesh files.
struct ExportFormats {
    bool msh = false;  // Gmsh MSH 4.1, ASCII
    bool vtu = false;  // VTK XML unstructured grid
    bool svg = false;  // a picture of the grid

    bool any() const { return msh || vtu || svg; }
};

// What one run is asked to do beyond building the grid.
struct Options {
    std::string name;               // problem name; empty: ask on standard input
    bool optimize = false;          // improve the finished grid (--optimize)
    bool report = false;            // print and save a quality report (--report)
    ExportFormats exports;          // extra mesh formats (--export LIST)
    double max_triangles = 50e6;    // refuse problems estimated above this (--max-triangles N)
};

// What the command line asks for.
enum class CommandAction {
    run,          // build the grid with the options
    help,         // print the usage and stop
    version,      // print the version and stop
    usage_error,  // print the error and the short usage, exit status 2
};

struct CommandLine {
    CommandAction action = CommandAction::run;
    Options options;
    std::string error;  // for usage_error: what was wrong, one line
};

// Reads the arguments after the program name. Options take the forms
// --name, --name VALUE and --name=VALUE; "--" ends the options.
CommandLine parse_command_line(const std::vector<std::string>& args);

// The full usage text (--help) and the version line (--version).
std::string usage_text();
std::string version_text();

// Handles every action but run: prints to standard output (help, version)
// or standard error (a usage error) and returns the exit status; for run it
// prints nothing and returns -1.
int answer_command_line(const CommandLine& cl);

}  // namespace corvan
