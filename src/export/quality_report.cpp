#include "export/quality_report.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "io/text_io.hpp"

namespace corvan {

namespace {

// A fixed-width field without its leading blanks.
std::string trimmed(const std::string& field) {
    const std::size_t first = field.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : field.substr(first);
}

std::string json_real(double v) { return std::isfinite(v) ? trimmed(fmt_e(v, 24, 17)) : "null"; }

std::string json_string(std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

double total_seconds(const std::vector<StageTime>& times) {
    double t = 0.0;
    for (const StageTime& s : times) t += s.seconds;
    return t;
}

// One row of the table: a label in a column of its own, then the values.
std::string row(std::string_view label) { return "   " + pad_to(label, 31); }

}  // namespace

void print_quality_report(const std::string& name, const GridQuality& q, const std::vector<StageTime>& times,
                          const std::string& json_path) {
    say_line("");
    say_line(" Quality report: " + name);
    say_line(row("nodes") + fmt_i(q.nodes, 10));
    say_line(row("triangles") + fmt_i(q.triangles, 10));
    say_line(row("boundary segments") + fmt_i(q.boundary_segments, 10));
    say_line(row("smallest angle (degrees)") + "min" + fmt_f(q.min_angle_min, 9, 2) + "   1st percentile" +
             fmt_f(q.min_angle_p1, 9, 2) + "   median" + fmt_f(q.min_angle_median, 9, 2));
    say_line(row("largest angle (degrees)") + "max" + fmt_f(q.max_angle_max, 9, 2));
    say_line(row("radius ratio 2r/R") + "min" + fmt_f(q.radius_ratio_min, 9, 4) + "   mean" +
             fmt_f(q.radius_ratio_mean, 9, 4));
    say_line(row("smallest angles (degrees)") + "triangles");
    for (int b = 0; b < kAngleBins; ++b) {
        const int n = q.min_angle_bins[static_cast<std::size_t>(b)];
        const double share = q.triangles > 0 ? 100.0 * n / q.triangles : 0.0;
        // One mark per 2.5 % of the triangles, at least one for any.
        const auto marks = static_cast<std::size_t>(n > 0 ? std::max(1.0, std::round(share / 2.5)) : 0.0);
        say_line(row("  " + fmt_i(b * kAngleBinWidth, 2) + " -" + fmt_i((b + 1) * kAngleBinWidth, 3)) +
                 fmt_i(n, 9) + fmt_f(share, 7, 1) + " %" + (marks > 0 ? "  " + std::string(marks, '#') : ""));
    }
    say_line(row("side length / target spacing") + "mean" + fmt_f(q.length_mean, 8, 4) + "   std" +
             fmt_f(q.length_std, 8, 4) + "   min" + fmt_f(q.length_min, 8, 4) + "   max" +
             fmt_f(q.length_max, 8, 4) + "   (" + std::to_string(q.sides) + " sides)");
    say_line("   time per stage (seconds)");
    for (const StageTime& s : times) say_line(row("  " + s.stage) + fmt_f(s.seconds, 10, 4));
    say_line(row("  total") + fmt_f(total_seconds(times), 10, 4));
    say_line(" Quality report written to " + json_path);
}

void write_quality_json(const std::string& path, const std::string& name, const GridQuality& q,
                        const std::vector<StageTime>& times) {
    TextFile out(path);
    out.line("{");
    out.line("  \"name\": " + json_string(name) + ",");
    out.line("  \"nodes\": " + std::to_string(q.nodes) + ",");
    out.line("  \"triangles\": " + std::to_string(q.triangles) + ",");
    out.line("  \"boundary_segments\": " + std::to_string(q.boundary_segments) + ",");
    out.line("  \"smallest_angle\": {\"min\": " + json_real(q.min_angle_min) + ", \"p1\": " +
             json_real(q.min_angle_p1) + ", \"median\": " + json_real(q.min_angle_median) + "},");
    out.line("  \"largest_angle\": {\"max\": " + json_real(q.max_angle_max) + "},");
    out.line("  \"radius_ratio\": {\"min\": " + json_real(q.radius_ratio_min) + ", \"mean\": " +
             json_real(q.radius_ratio_mean) + "},");
    std::string bins;
    for (int b = 0; b < kAngleBins; ++b) {
        bins += (b > 0 ? ", " : "") + std::to_string(q.min_angle_bins[static_cast<std::size_t>(b)]);
    }
    out.line("  \"smallest_angle_histogram\": {\"bin_width\": " + std::to_string(kAngleBinWidth) +
             ", \"counts\": [" + bins + "]},");
    out.line("  \"length_over_spacing\": {\"sides\": " + std::to_string(q.sides) + ", \"mean\": " +
             json_real(q.length_mean) + ", \"std\": " + json_real(q.length_std) + ", \"min\": " +
             json_real(q.length_min) + ", \"max\": " + json_real(q.length_max) + "},");
    std::string stages;
    for (const StageTime& s : times) {
        stages += (stages.empty() ? "" : ", ") + json_string(s.stage) + ": " + trimmed(fmt_f(s.seconds, 20, 6));
    }
    out.line("  \"stage_seconds\": {" + stages + "},");
    out.line("  \"total_seconds\": " + trimmed(fmt_f(total_seconds(times), 20, 6)));
    out.line("}");
    out.close();
}

}  // namespace corvan
