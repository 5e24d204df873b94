// The element file and the node file, written from the node and element
// arrays of the numbered grid.
#pragma once

#include <string>
#include <string_view>

#include "io/text_io.hpp"

namespace corvan {

// Gives every boundary element k its own boundary nodes 2k - 1 and 2k, then
// writes the element file dir/"grid."name(1:ln) and the node file
// dir/"nodes."name(1:ln), both closed on return. Existing files are
// overwritten; a file that cannot be written stops the run.
void save_conv(const std::string& name, int ln, const std::string& dir = ".");
// The element file and the node file, written to an open file.
void save_conv_mesh(TextFile& out, std::string_view name, int ln);
void save_conv_nodes(TextFile& out, std::string_view name, int ln);

}  // namespace corvan
