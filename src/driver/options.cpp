#include "driver/options.hpp"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "io/text_io.hpp"

namespace corvan {

namespace {

constexpr std::string_view kVersion = "1.1.0";

constexpr std::string_view kShortUsage = "usage: corvan [OPTIONS] [NAME]   (corvan --help for the options)";

// One option of the table: its long name, whether it takes a value, and
// what it does with the value (empty for a flag); returns an error or "".
struct OptionSpec {
    std::string_view name;
    bool takes_value;
    std::string (*apply)(Options& o, std::string_view value);
};

std::string set_exports(Options& o, std::string_view list) {
    o.exports = ExportFormats{};
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string_view f = list.substr(start, end - start);
        if (f == "msh") {
            o.exports.msh = true;
        } else if (f == "vtu") {
            o.exports.vtu = true;
        } else if (f == "svg") {
            o.exports.svg = true;
        } else {
            return "--export: unknown format '" + std::string(f) + "' (known: msh, vtu, svg)";
        }
        start = end + 1;
    }
    return "";
}

std::string set_max_triangles(Options& o, std::string_view value) {
    const std::string text(value);
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v) || v < 1.0) {
        return "--max-triangles: '" + text + "' is not a positive number";
    }
    o.max_triangles = v;
    return "";
}

const OptionSpec kOptions[] = {
    {"optimize", false, [](Options& o, std::string_view) { o.optimize = true; return std::string(); }},
    {"report", false, [](Options& o, std::string_view) { o.report = true; return std::string(); }},
    {"export", true, set_exports},
    {"max-triangles", true, set_max_triangles},
};

CommandLine usage_error(std::string message) {
    CommandLine cl;
    cl.action = CommandAction::usage_error;
    cl.error = std::move(message);
    return cl;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine cl;
    bool options_ended = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string_view a = args[k];
        if (options_ended || a.size() < 2 || a[0] != '-') {
            if (!cl.options.name.empty()) return usage_error("more than one problem name: '" + args[k] + "'");
            if (a.empty() || a[0] == ' ') return usage_error("the problem name is empty or starts with a blank");
            cl.options.name = args[k];
            continue;
        }
        if (a == "--") {
            options_ended = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            cl.action = CommandAction::help;
            return cl;
        }
        if (a == "--version") {
            cl.action = CommandAction::version;
            return cl;
        }
        if (a.substr(0, 2) != "--") return usage_error("unknown option '" + args[k] + "'");
        const std::size_t eq = a.find('=');
        const std::string_view name = a.substr(2, eq == std::string_view::npos ? std::string_view::npos : eq - 2);
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& s : kOptions) {
            if (s.name == name) spec = &s;
        }
        if (spec == nullptr) return usage_error("unknown option '" + args[k] + "'");
        std::string_view value;
        if (spec->takes_value) {
            if (eq != std::string_view::npos) {
                value = a.substr(eq + 1);
            } else if (k + 1 < args.size()) {
                value = args[++k];
            } else {
                return usage_error("--" + std::string(name) + " needs a value");
            }
        } else if (eq != std::string_view::npos) {
            return usage_error("--" + std::string(name) + " takes no value");
        }
        if (std::string e = spec->apply(cl.options, value); !e.empty()) return usage_error(std::move(e));
    }
    return cl;
}

std::string usage_text() {
    return "usage: corvan [OPTIONS] [NAME]\n"
           "\n"
           "Builds the triangular grid of problem NAME from boundary.NAME and domain.NAME\n"
           "in the current directory and writes grid.NAME, nodes.NAME and the plot files.\n"
           "Without NAME the problem name is read from standard input.\n"
           "\n"
           "options:\n"
           "  --optimize           improve the finished grid for a solver: flips, node moves,\n"
           "                       splits and collapses that remove poorly shaped triangles\n"
           "                       (boundary nodes and segments stay as they are)\n"
           "  --export LIST        also write the grid as NAME.msh (Gmsh 4.1), NAME.vtu (VTK)\n"
           "                       and/or NAME.svg (a picture): LIST is a comma-separated\n"
           "                       choice of msh, vtu, svg\n"
           "  --report             print a quality table and write it to report.NAME.json\n"
           "  --max-triangles N    stop before meshing when the grid is estimated to exceed\n"
           "                       N triangles (default 5e7)\n"
           "  --help               print this text\n"
           "  --version            print the version\n"
           "\n"
           "Exit status: 0 when the grid is written, 1 on an error in the problem or the\n"
           "grid, 2 on a wrong command line.\n";
}

std::string version_text() { return "corvan " + std::string(kVersion); }

int answer_command_line(const CommandLine& cl) {
    switch (cl.action) {
    case CommandAction::run:
        return -1;
    case CommandAction::help:
        say_line(usage_text().substr(0, usage_text().size() - 1));
        return 0;
    case CommandAction::version:
        say_line(version_text());
        return 0;
    case CommandAction::usage_error:
        warn_line("corvan: " + cl.error);
        warn_line(kShortUsage);
        return 2;
    }
    return 2;
}

}  // namespace corvan
