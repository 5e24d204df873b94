#include <gtest/gtest.h>

#include "driver/options.hpp"

namespace corvan {
namespace {

CommandLine parse(std::vector<std::string> args) { return parse_command_line(args); }

TEST(CommandLine, OptionsValuesAndName) {
    const CommandLine none = parse({});
    EXPECT_EQ(none.action, CommandAction::run);
    EXPECT_TRUE(none.options.name.empty());  // asks on standard input

    const CommandLine cl = parse({"--optimize", "--export", "msh,svg", "--max-triangles=1e6", "duct", "--report"});
    ASSERT_EQ(cl.action, CommandAction::run) << cl.error;
    EXPECT_EQ(cl.options.name, "duct");
    EXPECT_TRUE(cl.options.optimize && cl.options.report);
    EXPECT_TRUE(cl.options.exports.msh && cl.options.exports.svg && !cl.options.exports.vtu);
    EXPECT_EQ(cl.options.max_triangles, 1e6);

    EXPECT_EQ(parse({"--", "--odd-name"}).options.name, "--odd-name");
    EXPECT_EQ(parse({"x", "--help"}).action, CommandAction::help);
    EXPECT_EQ(parse({"--version"}).action, CommandAction::version);
}

TEST(CommandLine, MistakesAreUsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--optimise"}, {"-o"}, {"--export"}, {"--export", "stl"},
                                               {"--export=msh,"}, {"--report=yes"}, {"--max-triangles", "0"},
                                               {"--max-triangles", "1e6x"}, {"a", "b"}, {" a"}}) {
        const CommandLine cl = parse(args);
        EXPECT_EQ(cl.action, CommandAction::usage_error) << args[0];
        EXPECT_FALSE(cl.error.empty());
        EXPECT_EQ(answer_command_line(cl), 2);
    }
}

}  // namespace
}  // namespace corvan
